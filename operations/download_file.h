#pragma once
// The download's temporary glyph file and sending it to the printer.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "operations/outcome_play.h"
#include "operations/printer_messages.h"
#include "printer/download_exchange.h"
#include "printer/font_pt.h"
#include "printer/printer_address.h"

class PrinterStop;

// An empty temporary file ("VTL" prefix in the temporary directory), deleted
// when the object goes, whatever happened to the download.
class TempDownloadFile {
public:
    TempDownloadFile() = default;
    TempDownloadFile(const TempDownloadFile&) = delete;
    TempDownloadFile& operator=(const TempDownloadFile&) = delete;
    ~TempDownloadFile();

    // Creates the file; false when the system gives no name or file.
    bool Create();
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A download built and waiting to be sent: the temporary file with its glyph
// data and the download record, its information block built. The file goes
// with the object.
struct PreparedDownload {
    TempDownloadFile file;
    CFontPT record;
    // Below the overwrite question: the ID and the name it would replace,
    // from the last listing.
    std::string overwriteLine;
    // Below a refused area: what the registration needs, what is free.
    AreaFigures area;
};

enum class SendResult {
    FileUnreadable, // ended silently
    FileTooShort,   // DataMismatch told, the port was never opened
    PortNotOpened,  // PortNotOpened told
    Exchanged,      // the outcome was played
};

// Reads the download file, then opens and configures the port and runs the
// download exchange for the record (its information block already built),
// playing its outcome through handler and the operator; stop, when given,
// lets another thread end it.
SendResult SendDownloadFile(const std::string& path, const CFontPT& record,
                            const PrinterAddress& printer, PrinterOperator& op,
                            DownloadProgress& progress, OutcomeHandler& handler,
                            ExchangeOutcome* outcome = nullptr, PrinterStop* stop = nullptr);
