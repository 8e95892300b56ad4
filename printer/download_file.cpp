#include "printer/download_file.h"

#include "printer/printer_port.h"
#include "res/resource_ids.h"

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

bool ReadDownloadFile(const std::string& path, std::vector<uint8_t>* content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE;
    if (ok) {
        content->assign(size, 0);
        DWORD got = 0;
        ok = size == 0 || (ReadFile(file, content->data(), size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    return ok;
}

SendResult SendDownloadFile(const std::string& path, const CFontPT& record, int comPort,
                            CRS232C& rs232c, MessageSink& messages, DownloadObserver& observer,
                            OutcomeHandler& handler, ExchangeOutcome* outcome) {
    std::vector<uint8_t> glyphs;
    if (!ReadDownloadFile(path, &glyphs))
        return SendResult::FileUnreadable;
    // A file with fewer than n x bytes per glyph bytes would have the last
    // frames read past its end; it is refused before the printer is touched.
    if (!GlyphDataFits(record, glyphs.size())) {
        UserMessage message;
        message.id = IDS_DOWNLOAD_FAILED;
        messages.Report(message);
        return SendResult::FileTooShort;
    }
    const bool opened = RunPrinterOperation(
        comPort, rs232c, messages, handler,
        [&](PrinterLink& link) {
            return DownloadRegistration(link, record, glyphs.data(), glyphs.size(), observer);
        },
        outcome);
    return opened ? SendResult::Exchanged : SendResult::PortNotOpened;
}
