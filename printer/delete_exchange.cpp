#include "printer/delete_exchange.h"

#include "printer/command_blocks.h"
#include "printer/listing_exchange.h"

using namespace printer_protocol;

namespace {

// Sends the delete block and reads its short reply, once more on silence.
template <size_t N>
bool SendDeleteBlock(PrinterLink& link, const std::array<uint8_t, N>& block, uint8_t* reply) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        link.WriteBlock(block.data(), block.size());
        if (link.ReadBlock(reply, kShortReplySize, kReplyTimeout))
            return true;
    }
    return false;
}

// Proceed after the operator's Yes; the printer confirms with E, and says
// nothing more.
PrinterResult ProceedDeleted(PrinterLink& link) {
    uint8_t reply[kShortReplySize] = {};
    link.WriteBlock(kProceed.data(), kProceed.size());
    if (!link.ReadBlock(reply, sizeof reply, kConfirmedReplyTimeout))
        return PrinterResult::NoAnswer;
    return reply[kReplyCodeOffset] == 'E' && !link.BytesWaiting() ? PrinterResult::Done
                                                                  : PrinterResult::NotPrinterAnswer;
}

// Cancel after the operator's No; whatever comes back is only drained.
ExchangeOutcome Declined(PrinterLink& link, PrinterTask task) {
    uint8_t reply[kShortReplySize] = {};
    link.WriteBlock(kCancel.data(), kCancel.size());
    link.ReadBlock(reply, sizeof reply, kConfirmedReplyTimeout);
    ExchangeOutcome out;
    out.report = {task, PrinterResult::Declined};
    return out;
}

ExchangeOutcome Closing(PrinterTask task, PrinterResult result) {
    ExchangeOutcome out;
    out.succeeded = result == PrinterResult::Done;
    out.report = {task, result};
    return out;
}

template <size_t N>
ExchangeOutcome RunDeletion(PrinterLink& link, const std::array<uint8_t, N>& block,
                            PrinterTask task, PrinterQuestion question, PrinterOperator& op,
                            bool refreshAfter) {
    uint8_t reply[kShortReplySize] = {};
    if (!SendDeleteBlock(link, block, reply))
        return Closing(task, PrinterResult::NoAnswer);
    // A printer's short reply is all it says: bytes behind it (a peer that
    // echoes the block, whose second byte is an A) make it no printer's.
    if (link.BytesWaiting())
        return Closing(task, PrinterResult::NotPrinterAnswer);

    const uint8_t code = reply[kReplyCodeOffset];
    if (code == 'A')
        return Closing(task, PrinterResult::NothingRegistered);
    if (code != 'B')
        return Closing(task, PrinterResult::NotPrinterAnswer);

    if (!op.Ask(question))
        return Declined(link, task);
    if (const PrinterResult proceeded = ProceedDeleted(link); proceeded != PrinterResult::Done) {
        ExchangeOutcome out = Closing(task, proceeded);
        out.report.proceedSent = true;
        return out;
    }

    if (refreshAfter) {
        ExchangeOutcome out = RefreshRegisteredData(link);
        out.succeeded = true;
        out.report = {task, PrinterResult::Done};
        return out;
    }
    // Everything is gone: the list is empty and the memory free.
    ExchangeOutcome out = Closing(task, PrinterResult::Done);
    out.listing.list = ListChange::Empty;
    out.listing.memory = MemoryChange::Zero;
    return out;
}

} // namespace

ExchangeOutcome DeleteRegisteredData(PrinterLink& link, int id, PrinterOperator& op) {
    return RunDeletion(link, DeleteEntryBlock(id), PrinterTask::DeleteEntry,
                       PrinterQuestion::DeleteEntry, op, true);
}

ExchangeOutcome ClearAllRegisteredData(PrinterLink& link, PrinterOperator& op) {
    return RunDeletion(link, kDeleteAll, PrinterTask::ClearAll, PrinterQuestion::ClearAll, op,
                       false);
}

bool LeftNothingToDelete(const ExchangeOutcome& deletion) {
    return deletion.succeeded || deletion.report.result == PrinterResult::NothingRegistered;
}
