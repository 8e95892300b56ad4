#pragma once
// A download the operator stopped (中止, Ctrl+C): the printer is listed anew,
// so that the front end shows what it holds now, and the operator is told
// that the download was stopped and what became of its ID.
#include <optional>
#include <string>
#include <vector>

#include "framework/operator.h"
#include "operations/outcome_play.h"
#include "operations/printer_messages.h"
#include "printer/font_pt.h"
#include "printer/printer_address.h"

// What the listing after the stop shows under the download's ID.
enum class StoppedIdFate {
    Unknown, // the printer could not be listed
    Absent,  // nothing
    Kept,    // the entry listed there before the download, unchanged
    Listed,  // an entry, shown as the printer lists it
};

struct StoppedId {
    StoppedIdFate fate = StoppedIdFate::Unknown;
    std::string line; // Kept, Listed: the list line ("ID05 NAME 180byte")
};

// The ID's fate in records, a successful listing; before: the entry listed
// under the ID before the download, if one was.
StoppedId FateOfStoppedId(int id, const std::vector<CFontPT>& records,
                          const std::optional<CFontPT>& before);

// The message's second line: its string-table ID and values.
unsigned StoppedIdDetail(const StoppedId& id, int registrationId, std::vector<std::string>* values);

// A download's side of the operator: as OperatorPrinterSide, but a stop is
// kept to be told by TellStoppedDownload, once the printer has been listed.
class DownloadPrinterSide : public OperatorPrinterSide {
public:
    using OperatorPrinterSide::OperatorPrinterSide;
    void Tell(const PrinterReport& report) override;
    // The download was stopped before the printer had taken it.
    bool Stopped() const { return m_bStopped; }

private:
    bool m_bStopped = false;
};

// Lists printer (the listing to handler) and tells op that the download of
// id was stopped, with the ID's fate on a second line.
void TellStoppedDownload(const PrinterAddress& printer, int id,
                         const std::optional<CFontPT>& before, Operator& op,
                         OutcomeHandler& handler);
