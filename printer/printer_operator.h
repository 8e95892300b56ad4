#pragma once
// The operator as a printer operation meets it: asked the exchanges'
// questions, told what happened. The front ends choose the words.
#include <cstdint>
#include <string>
#include <utility>

// What the operation was doing when it tells something.
enum class PrinterTask {
    Port,        // opening and setting up the COM port, or connecting to the printer
    Query,       // the listing the operator asked for
    Refresh,     // the listing after a deletion or a download
    DeleteEntry, // one registered entry
    ClearAll,    // every registered entry
    Download,
};

// What happened.
enum class PrinterResult {
    Done,              // listed, deleted or downloaded
    NothingRegistered, // the printer holds nothing: an empty listing, nothing to delete
    Declined,          // the operator said no; the printer was told to cancel
    NoAnswer,          // a reply did not come in time
    // What answered is no printer: an info reply without its digits, record
    // data of another length than announced, a reply code no exchange
    // expects, bytes coming when none are due.
    NotPrinterAnswer,
    ListingDamaged,           // the record data ended early
    AreaUnusable,             // the printer cannot use the download's area
    CharacterNotAcknowledged, // a character frame got no ACK
    DataMismatch,             // the glyph data does not fit the record; nothing was sent
    PortNotOpened,
    PortStateUnreadable,
    PortSettingsRefused,
    // A network printer: the address names it (PrinterReport::printer).
    NetworkInUse,          // another program of the session holds it
    NetworkRefused,        // the printer refused the connection
    NetworkNoAnswer,       // no connection within the connect time-out
    NetworkNameNotFound,   // the host name does not resolve
    NetworkConnectionLost, // the connection broke during the exchange
    // The operator stopped the operation: the connection was cut, and
    // nothing was done that the printer had not confirmed by then.
    Stopped,
};

struct PrinterReport {
    PrinterReport() = default;
    PrinterReport(PrinterTask task, PrinterResult result, uint32_t character = 0,
                  std::string printer = {})
        : task(task), result(result), character(character), printer(std::move(printer)) {}

    PrinterTask task = PrinterTask::Port;
    PrinterResult result = PrinterResult::Done;
    uint32_t character = 0; // CharacterNotAcknowledged: the character's index
    // CharacterNotAcknowledged: nothing came back (rather than a wrong byte).
    bool replyMissing = false;
    // A deletion that failed or was stopped after the printer had been told
    // to go ahead: whether it deleted is not known.
    bool proceedSent = false;
    // The printer's address as text where the message names it: the Network
    // results, NotPrinterAnswer, a port that did not open, and a printer's
    // failures after it was opened.
    std::string printer;
    // PortNotOpened: why, in words (ANSI text): the system's reason, or that
    // another program holds the port or that it leads to no serial device.
    std::string reason;
};

enum class PrinterQuestion {
    Overwrite,   // the download's ID is registered already
    DeleteEntry, // delete the entry
    ClearAll,    // delete every entry
};

class PrinterOperator {
public:
    virtual ~PrinterOperator() = default;
    // True for yes.
    virtual bool Ask(PrinterQuestion question) = 0;
    virtual void Tell(const PrinterReport& report) = 0;
};
