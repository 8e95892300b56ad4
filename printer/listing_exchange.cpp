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

// What the listing tells of the printer: its records after code B with
// complete data, none after an unknown code (memory 0); nothing registered;
// or, when the listing failed, an emptied list and a memory figure the query
// keeps and the refresh no longer knows.
ExchangeOutcome ListingOutcome(PrinterTask task, PrinterListing listing) {
    const bool query = task == PrinterTask::Query;
    ExchangeOutcome out;
    out.report = {task, listing.result};
    out.read = query ? ListingRead::Query : ListingRead::Refresh;
    out.listingResult = listing.result;
    out.succeeded =
        listing.result == PrinterResult::Done || listing.result == PrinterResult::NothingRegistered;
    switch (listing.result) {
    case PrinterResult::Done:
        out.listing.list = ListChange::Fill;
        out.listing.memory = MemoryChange::Usage;
        out.listing.memoryUse = listing.data.memoryUse;
        out.listing.records = std::move(listing.data.records);
        break;
    case PrinterResult::NothingRegistered:
        out.listing.list = ListChange::Empty;
        out.listing.memory = MemoryChange::Zero;
        break;
    case PrinterResult::NoAnswer:
        out.listing.list = ListChange::Empty;
        break;
    default: // ListingDamaged, NotPrinterAnswer
        out.listing.list = ListChange::Empty;
        out.listing.memory = query ? MemoryChange::Keep : MemoryChange::NotAvailable;
        break;
    }
    return out;
}

} // namespace

ExchangeOutcome QueryRegisteredData(PrinterLink& link) {
    return ListingOutcome(PrinterTask::Query, ReadListing(link, 2));
}

ExchangeOutcome RefreshRegisteredData(PrinterLink& link) {
    return ListingOutcome(PrinterTask::Refresh, ReadListing(link, 1));
}
