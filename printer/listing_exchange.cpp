#include "printer/listing_exchange.h"

#include "printer/command_blocks.h"
#include "printer/record_data.h"

using namespace printer_protocol;

namespace {

bool RequestInfo(PrinterLink& link, uint8_t* reply) {
    link.WriteBlock(kInfoRequest.data(), kInfoRequest.size());
    return link.ReadBlock(reply, kInfoReplySize, kReplyTimeout);
}

struct PrinterListing {
    PrinterResult result = PrinterResult::NoAnswer;
    RecordData data; // Done: the records; none after an unknown code
};

// Asks for the listing, tries times on silence, and reads it.
PrinterListing ReadListing(PrinterLink& link, int tries) {
    uint8_t reply[kInfoReplySize] = {};
    bool answered = false;
    for (int attempt = 0; attempt < tries && !answered; ++attempt)
        answered = RequestInfo(link, reply);
    PrinterListing listing;
    if (!answered)
        return listing;
    const uint8_t code = reply[kReplyCodeOffset];
    if (code == 'A') {
        listing.result = PrinterResult::NothingRegistered;
        return listing;
    }
    if (code == 'B') {
        listing.data = ReadRecordData(link, AnnouncedLength(reply));
        if (!listing.data.complete) {
            listing.result = PrinterResult::ListingDamaged;
            return listing;
        }
    }
    listing.result = PrinterResult::Done;
    return listing;
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
    PrinterListing listing = ReadListing(link, 2);
    ExchangeOutcome out;
    out.report = {PrinterTask::Query, listing.result};
    switch (listing.result) {
    case PrinterResult::NoAnswer:
        // The only failure whose message comes before the port is closed.
        out.listing = Emptied(ExtentChange::Keep, MemoryChange::Keep);
        out.steps = {S::UpdateListing, S::ShowMessage, S::ClosePort};
        break;
    case PrinterResult::NothingRegistered:
        out.succeeded = true;
        out.listing = Emptied(ExtentChange::Zero, MemoryChange::Zero);
        out.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
        break;
    case PrinterResult::Done:
        out.succeeded = true;
        out.listing = Listing(std::move(listing.data), ExtentChange::Widening);
        out.steps = {S::UpdateListing, S::ClosePort, S::ShowMessage};
        break;
    default: // ListingDamaged
        out.listing = Emptied(ExtentChange::Keep, MemoryChange::Keep);
        out.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
        break;
    }
    return out;
}

ExchangeOutcome RefreshRegisteredData(PrinterLink& link) {
    using S = OutcomeStep;
    PrinterListing listing = ReadListing(link, 1);
    ExchangeOutcome out;
    out.report = {PrinterTask::Refresh, listing.result};
    switch (listing.result) {
    case PrinterResult::NoAnswer:
        out.listing = Emptied(ExtentChange::Keep, MemoryChange::Keep);
        out.steps = {S::UpdateListing, S::ClosePort};
        break;
    case PrinterResult::NothingRegistered:
        out.succeeded = true;
        out.listing = Emptied(ExtentChange::Zero, MemoryChange::Zero);
        out.steps = {S::ClosePort, S::UpdateListing};
        break;
    case PrinterResult::Done:
        out.succeeded = true;
        out.listing = Listing(std::move(listing.data), ExtentChange::EachLine);
        out.steps = {S::UpdateListing, S::ClosePort};
        break;
    default: // ListingDamaged
        out.listing = Emptied(ExtentChange::Keep, MemoryChange::NotAvailable);
        out.steps = {S::ClosePort, S::UpdateListing};
        break;
    }
    return out;
}
