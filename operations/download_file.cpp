#include "operations/download_file.h"

#include "framework/whole_file.h"
#include "operations/printer_operation.h"

TempDownloadFile::~TempDownloadFile() {
    if (!m_path.empty())
        DeleteFileA(m_path.c_str());
}

bool TempDownloadFile::Create() {
    char directory[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH)
        return false;
    char name[MAX_PATH];
    // Unique number 0: the system picks the name and creates the empty file.
    if (GetTempFileNameA(directory, "VTL", 0, name) == 0)
        return false;
    m_path = name;
    return true;
}

// The download file holds at most 5000 glyphs of a cell a 72-point face
// gives at 305 dpi: a few tens of megabytes.
constexpr uint64_t kMaxDownloadFileSize = 256u * 1024 * 1024;

SendResult SendDownloadFile(const std::string& path, const CFontPT& record,
                            const PrinterAddress& printer, PrinterOperator& op,
                            DownloadProgress& progress, OutcomeHandler& handler,
                            ExchangeOutcome* outcome, PrinterStop* stop) {
    std::vector<uint8_t> glyphs;
    if (ReadWholeFile(path, kMaxDownloadFileSize, &glyphs) != FileReadResult::Ok)
        return SendResult::FileUnreadable;
    // A file with fewer than n x bytes per glyph bytes would have the last
    // frames read past its end; it is refused before the printer is touched.
    if (!GlyphDataFits(record, glyphs.size())) {
        op.Tell({PrinterTask::Download, PrinterResult::DataMismatch});
        return SendResult::FileTooShort;
    }
    const bool opened = RunPrinterOperation(
        printer, op, handler,
        [&](PrinterLink& link) {
            return DownloadRegistration(link, record, glyphs.data(), glyphs.size(), op, progress);
        },
        outcome, stop);
    return opened ? SendResult::Exchanged : SendResult::PortNotOpened;
}
