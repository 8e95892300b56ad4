#include "printer/listing_exchange.h"

#include "printer/command_blocks.h"
#include "printer/record_data.h"
#include "res/resource_ids.h"

using namespace printer_protocol;

namespace {

bool RequestInfo(PrinterLink& link, uint8_t* reply) {
    link.WriteBlock(kInfoRequest.data(), kInfoRequest.size());
    return link.ReadBlock(reply, kInfoReplySize, kReplyTimeout);
}

// The listing after code B with complete data, or after an unknown code
// (no records, memory 0).
ListingUpdate Listing(RecordData data, ExtentChange extent) {
    ListingUpdate update;
    update.list = ListChange::Fill;
    update.extent = extent;
    update.memory = MemoryChange::Usage;
    update.memoryUse = data.memoryUse;
    update.records = std::move(data.records);
    return update;
}

ListingUpdate Emptied(ExtentChange extent, MemoryChange memory) {
    ListingUpdate update;
    update.list = ListChange::Empty;
    update.extent = extent;
    update.memory = memory;
    return update;
}

} // namespace

ExchangeOutcome QueryRegisteredData(PrinterLink& link) {
    using S = OutcomeStep;
    ExchangeOutcome out;
    uint8_t reply[kInfoReplySize] = {};
    if (!RequestInfo(link, reply) && !RequestInfo(link, reply)) {
        // The only failure whose message comes before the port is closed.
        out.listing = Emptied(ExtentChange::Keep, MemoryChange::Keep);
        out.steps = {S::UpdateListing, S::ShowMessage, S::ClosePort};
        out.messageId = IDS_QUERY_FAILED;
        return out;
    }

    const uint8_t code = reply[kReplyCodeOffset];
    if (code == 'A') {
        out.succeeded = true;
        out.listing = Emptied(ExtentChange::Zero, MemoryChange::Zero);
        out.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
        out.messageId = IDS_QUERY_DONE_EMPTY;
        out.kind = MessageKind::Plain;
        return out;
    }

    RecordData data;
    if (code == 'B') {
        data = ReadRecordData(link, AnnouncedLength(reply));
        if (!data.complete) {
            out.listing = Emptied(ExtentChange::Keep, MemoryChange::Keep);
            out.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
            out.messageId = IDS_QUERY_FAILED;
            return out;
        }
    }
    out.succeeded = true;
    out.listing = Listing(std::move(data), ExtentChange::Widening);
    out.steps = {S::UpdateListing, S::ClosePort, S::ShowMessage};
    out.messageId = IDS_QUERY_DONE;
    out.kind = MessageKind::Plain;
    return out;
}

ExchangeOutcome RefreshRegisteredData(PrinterLink& link) {
    using S = OutcomeStep;
    ExchangeOutcome out;
    uint8_t reply[kInfoReplySize] = {};
    if (!RequestInfo(link, reply)) {
        out.listing = Emptied(ExtentChange::Keep, MemoryChange::Keep);
        out.steps = {S::UpdateListing, S::ClosePort};
        return out;
    }

    const uint8_t code = reply[kReplyCodeOffset];
    if (code == 'A') {
        out.succeeded = true;
        out.listing = Emptied(ExtentChange::Zero, MemoryChange::Zero);
        out.steps = {S::ClosePort, S::UpdateListing};
        return out;
    }

    RecordData data;
    if (code == 'B') {
        data = ReadRecordData(link, AnnouncedLength(reply));
        if (!data.complete) {
            out.listing = Emptied(ExtentChange::Keep, MemoryChange::NotAvailable);
            out.steps = {S::ClosePort, S::UpdateListing};
            return out;
        }
    }
    out.succeeded = true;
    out.listing = Listing(std::move(data), ExtentChange::EachLine);
    out.steps = {S::UpdateListing, S::ClosePort};
    return out;
}
