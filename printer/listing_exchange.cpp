#include "printer/listing_exchange.h"

#include <algorithm>

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

// Asks for the listing, tries times on silence, and reads it. Only a
// printer's answer is a listing: eight digits in the reply, the records they
// announce, and nothing more on the line once the answer is read.
PrinterListing ReadListing(PrinterLink& link, int tries) {
    uint8_t reply[kInfoReplySize] = {};
    bool answered = false;
    for (int attempt = 0; attempt < tries && !answered; ++attempt)
        answered = RequestInfo(link, reply);
    PrinterListing listing;
    if (!answered)
        return listing;
    const std::optional<uint32_t> announced = AnnouncedLength(reply);
    const uint8_t code = reply[kReplyCodeOffset];
    if (!announced) {
        listing.result = PrinterResult::NotPrinterAnswer;
        return listing;
    }
    listing.result = code == 'A' ? PrinterResult::NothingRegistered : PrinterResult::Done;
    if (code == 'B') {
        listing.data = ReadRecordData(link, *announced);
        if (listing.data.end != RecordDataEnd::Complete) {
            listing.result = listing.data.end == RecordDataEnd::Foreign
                                 ? PrinterResult::NotPrinterAnswer
                                 : PrinterResult::ListingDamaged;
            listing.data.records.clear();
            return listing;
        }
    }
    if (link.BytesWaiting()) {
        listing.result = PrinterResult::NotPrinterAnswer;
        listing.data = {};
    }
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

// What an answer leaves to do. The query tells it, the refresh does not.
ExchangeOutcome ListingOutcome(PrinterTask task, PrinterListing listing) {
    using S = OutcomeStep;
    const bool query = task == PrinterTask::Query;
    ExchangeOutcome out;
    out.report = {task, listing.result};
    switch (listing.result) {
    case PrinterResult::NoAnswer:
        // The query's only failure whose message comes before the port closes.
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
        out.listing = Listing(std::move(listing.data),
                              query ? ExtentChange::Widening : ExtentChange::EachLine);
        out.steps = {S::UpdateListing, S::ClosePort, S::ShowMessage};
        break;
    default: // ListingDamaged, NotPrinterAnswer: the query keeps the memory line, the
             // refresh has none
        out.listing =
            Emptied(ExtentChange::Keep, query ? MemoryChange::Keep : MemoryChange::NotAvailable);
        out.steps = {S::ClosePort, S::ShowMessage, S::UpdateListing};
        break;
    }
    if (!query)
        out.steps.erase(std::find(out.steps.begin(), out.steps.end(), S::ShowMessage));
    return out;
}

} // namespace

ExchangeOutcome QueryRegisteredData(PrinterLink& link) {
    return ListingOutcome(PrinterTask::Query, ReadListing(link, 2));
}

ExchangeOutcome RefreshRegisteredData(PrinterLink& link) {
    return ListingOutcome(PrinterTask::Refresh, ReadListing(link, 1));
}
