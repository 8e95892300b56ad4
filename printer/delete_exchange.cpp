#include "printer/delete_exchange.h"

#include "printer/command_blocks.h"
#include "printer/listing_exchange.h"
#include "res/resource_ids.h"

using namespace printer_protocol;

namespace {

using S = OutcomeStep;

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

// Proceed after the operator's Yes; true when the printer answers E.
bool ProceedDeleted(PrinterLink& link) {
    uint8_t reply[kShortReplySize] = {};
    link.WriteBlock(kProceed.data(), kProceed.size());
    return link.ReadBlock(reply, sizeof reply, kConfirmedReplyTimeout) &&
           reply[kReplyCodeOffset] == 'E';
}

// Cancel after the operator's No; whatever comes back is only drained.
ExchangeOutcome Declined(PrinterLink& link) {
    uint8_t reply[kShortReplySize] = {};
    link.WriteBlock(kCancel.data(), kCancel.size());
    link.ReadBlock(reply, sizeof reply, kConfirmedReplyTimeout);
    ExchangeOutcome out;
    out.declined = true;
    out.steps = {S::ClosePort};
    return out;
}

ExchangeOutcome Closing(unsigned messageId, MessageKind kind, bool succeeded) {
    ExchangeOutcome out;
    out.succeeded = succeeded;
    out.steps = {S::ClosePort, S::ShowMessage};
    out.messageId = messageId;
    out.kind = kind;
    return out;
}

template <size_t N>
ExchangeOutcome RunDeletion(PrinterLink& link, const std::array<uint8_t, N>& block,
                            unsigned questionId, MessageKind nothingKind, MessageKind doneKind,
                            Operator& op, bool refreshAfter) {
    uint8_t reply[kShortReplySize] = {};
    if (!SendDeleteBlock(link, block, reply))
        return Closing(IDS_DELETE_FAILED, MessageKind::Warning, false);

    const uint8_t code = reply[kReplyCodeOffset];
    if (code == 'A')
        return Closing(IDS_DELETE_NOTHING, nothingKind, false);
    if (code != 'B')
        return Closing(IDS_DELETE_FAILED, MessageKind::Warning, false);

    if (!op.AskYesNo(questionId))
        return Declined(link);
    if (!ProceedDeleted(link))
        return Closing(IDS_DELETE_FAILED, MessageKind::Warning, false);

    if (refreshAfter) {
        // The refresh's own steps close the port; the message follows them.
        ExchangeOutcome out = RefreshRegisteredData(link);
        out.succeeded = true;
        out.steps.push_back(S::ShowMessage);
        out.messageId = IDS_DELETE_DONE;
        out.kind = doneKind;
        return out;
    }
    ExchangeOutcome out = Closing(IDS_DELETE_DONE, doneKind, true);
    out.listing.list = ListChange::Empty;
    out.listing.memory = MemoryChange::Zero;
    out.steps.push_back(S::UpdateListing);
    return out;
}

} // namespace

ExchangeOutcome DeleteRegisteredData(PrinterLink& link, int id, Operator& op) {
    // One entry: "nothing to delete" warns, success is a plain box.
    return RunDeletion(link, DeleteEntryBlock(id), IDS_ASK_DELETE, MessageKind::Warning,
                       MessageKind::Plain, op, true);
}

ExchangeOutcome ClearAllRegisteredData(PrinterLink& link, Operator& op) {
    return RunDeletion(link, kDeleteAll, IDS_ASK_DELETE_ALL, MessageKind::Information,
                       MessageKind::Information, op, false);
}
