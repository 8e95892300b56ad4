#include "operations/outcome_play.h"

#include <algorithm>

namespace {

using S = OutcomeStep;

// A listing's own order. Silence: the list goes and the message comes before
// the port closes. Nothing registered and a failure that stops the listing:
// the port closes, the message, then the list. A complete listing: the list,
// the port, the message. The refresh says nothing.
OutcomePlay ListingPlay(PrinterResult result, bool query) {
    OutcomePlay play;
    switch (result) {
    case PrinterResult::NoAnswer:
        play.steps = {S::UpdateListing, S::ShowMessage, S::ClosePort};
        break;
    case PrinterResult::NothingRegistered:
        play.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
        play.extent = ExtentChange::Zero;
        break;
    case PrinterResult::Done:
        play.steps = {S::UpdateListing, S::ClosePort, S::ShowMessage};
        // The query widens only over the line just before; the refresh
        // follows every line, so it ends at the last line's width.
        play.extent = query ? ExtentChange::Widening : ExtentChange::EachLine;
        break;
    default:
        play.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
        break;
    }
    if (!query)
        play.steps.erase(std::find(play.steps.begin(), play.steps.end(), S::ShowMessage));
    return play;
}

} // namespace

OutcomePlay PlayOf(const ExchangeOutcome& outcome) {
    const PrinterTask task = outcome.report.task;
    if (outcome.read != ListingRead::None) {
        OutcomePlay play = ListingPlay(outcome.listingResult, outcome.read == ListingRead::Query);
        // A deletion or a download that refreshed the list tells its own
        // result once the refresh has closed the port.
        if (task != PrinterTask::Query && task != PrinterTask::Refresh)
            play.steps.push_back(S::ShowMessage);
        return play;
    }
    OutcomePlay play;
    if (outcome.report.result == PrinterResult::Declined) {
        play.steps = {S::ClosePort};
    } else if (task == PrinterTask::Download) {
        // A failed download shows its message while the progress window is
        // still up, then closes the port.
        play.steps = {S::ShowMessage, S::ClosePort};
    } else if (task == PrinterTask::ClearAll && outcome.succeeded) {
        play.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
    } else {
        play.steps = {S::ClosePort, S::ShowMessage};
    }
    return play;
}

void ListedPanel::Take(const ListingUpdate& update, ExtentChange change,
                       const std::function<int(const std::string&)>& lineWidth) {
    data.Apply(update);
    if (change == ExtentChange::Zero)
        extent = 0;
    // The extent follows only lines listed anew.
    if (update.list != ListChange::Fill || change == ExtentChange::Keep)
        return;
    int previous = 0;
    for (const std::string& line : data.m_lines) {
        const int width = lineWidth ? lineWidth(line) : 0;
        if (change == ExtentChange::EachLine || width > previous)
            extent = width + 2;
        previous = width;
    }
}

void PlayOutcome(const ExchangeOutcome& outcome, OutcomeHandler& handler, PrinterOperator& op) {
    const OutcomePlay play = PlayOf(outcome);
    for (OutcomeStep step : play.steps) {
        switch (step) {
        case OutcomeStep::UpdateListing:
            handler.ApplyListing(outcome.listing, play.extent);
            break;
        case OutcomeStep::ClosePort:
            handler.ClosePort();
            break;
        case OutcomeStep::ShowMessage:
            op.Tell(outcome.report);
            break;
        }
    }
}
