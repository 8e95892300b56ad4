#pragma once
// The operator as a printer operation meets it: asked the exchanges'
// questions, told what happened. The front ends choose the words.
#include <cstdint>

// What the operation was doing when it tells something.
enum class PrinterTask {
    Port,        // opening and setting up the COM port
    Query,       // the listing the operator asked for
    Refresh,     // the listing after a deletion or a download
    DeleteEntry, // one registered entry
    ClearAll,    // every registered entry
    Download,
};

// What happened.
enum class PrinterResult {
    Done,                     // listed, deleted or downloaded
    NothingRegistered,        // the printer holds nothing: an empty listing, nothing to delete
    Declined,                 // the operator said no; the printer was told to cancel
    NoAnswer,                 // a reply did not come in time
    UnexpectedReply,          // a reply with a code the step does not take
    ListingDamaged,           // the record data ended early
    AreaUnusable,             // the printer cannot use the download's area
    CharacterNotAcknowledged, // a character frame got no ACK
    DataMismatch,             // the glyph data does not fit the record; nothing was sent
    PortNotOpened,
    PortStateUnreadable,
    PortSettingsRefused,
};

struct PrinterReport {
    PrinterTask task = PrinterTask::Port;
    PrinterResult result = PrinterResult::Done;
    uint32_t character = 0; // CharacterNotAcknowledged: the character's index
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
