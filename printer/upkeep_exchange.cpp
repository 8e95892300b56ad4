#include "printer/upkeep_exchange.h"

#include "printer/delete_exchange.h"
#include "printer/listing_exchange.h"

namespace {

// The yes given once for every printer.
class AgreedOperator : public PrinterOperator {
public:
    bool Ask(PrinterQuestion) override { return true; }
    void Tell(const PrinterReport&) override {}
};

PortResult Failed(PortStep step, const std::atomic<bool>& cancel, const PrinterReport& report,
                  bool changed) {
    PortResult result;
    result.outcome = cancel ? PortOutcome::Cancelled : PortOutcome::Failed;
    result.step = step;
    result.failure = cancel ? PortFailure::None : PortFailure::Report;
    if (!cancel)
        result.report = report;
    result.changed = changed;
    return result;
}

PortResult Listed(ListingUpdate listing, bool changed, const PrinterReport& report) {
    PortResult result;
    result.outcome = PortOutcome::Ok;
    result.step = PortStep::Done;
    result.listed = std::move(listing.records);
    result.memoryUse = listing.memoryUse;
    result.changed = changed;
    result.report = report;
    return result;
}

} // namespace

PortResult UpkeepPort(PrinterLink& link, const UpkeepJob& job, PortProgress& progress,
                      const std::atomic<bool>& cancel) {
    AgreedOperator agreed;
    PrinterReport deletion;
    bool changed = false;
    if (job.task != UpkeepTask::List) {
        const bool all = job.task == UpkeepTask::ClearAll;
        const PortStep step = all ? PortStep::Clearing : PortStep::Deleting;
        progress.StepStarted(step, 0);
        const ExchangeOutcome out =
            all ? ClearAllRegisteredData(link, agreed) : DeleteRegisteredData(link, job.id, agreed);
        if (cancel || !LeftNothingToDelete(out))
            return Failed(step, cancel, out.report, false);
        changed = out.succeeded;
        deletion = out.report;
        // An all clear leaves nothing; a deletion's own listing shows the rest.
        if (all && out.succeeded) {
            ListingUpdate empty;
            return Listed(empty, changed, deletion);
        }
        if (out.succeeded && out.listing.list == ListChange::Fill)
            return Listed(out.listing, changed, deletion);
    }
    progress.StepStarted(PortStep::Listing, 0);
    ExchangeOutcome listing = QueryRegisteredData(link);
    if (cancel || !listing.succeeded)
        return Failed(PortStep::Listing, cancel, listing.report, changed);
    // A listing says nothing when it went well; a deletion says what it did.
    return Listed(std::move(listing.listing), changed, deletion);
}
