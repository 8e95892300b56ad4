// libFuzzer target: the info reply and its record data as a network printer's
// answers arrive, in pieces of any size after any delay. The head of the input
// is what the printer sends; its tail plans the pieces: for each, a size and a
// delay in tens of milliseconds. Pieces answer the info request until they
// make its 11 bytes, the rest answers the tool's next command. A listing that
// is taken holds what the panel can show, whatever the pieces did.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "printer/command_blocks.h"
#include "printer/listing_exchange.h"
#include "printer/registered_data.h"
#include "scripted_link.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

const Bytes kInfo(printer_protocol::kInfoRequest.begin(), printer_protocol::kInfoRequest.end());
const Bytes kNext(printer_protocol::kProceed.begin(), printer_protocol::kProceed.end());

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool query = input.ConsumeBool();
    ScriptStep info{kInfo, {}};
    ScriptStep next{kNext, {}};
    size_t infoBytes = 0;
    while (input.remaining_bytes() > 0) {
        const size_t pieceSize = input.ConsumeIntegralInRange<size_t>(1, 256);
        const unsigned delayMs = input.ConsumeIntegral<uint8_t>() * 10u;
        Piece piece{delayMs, input.ConsumeBytes<uint8_t>(pieceSize)};
        ScriptStep& step = infoBytes < printer_protocol::kInfoReplySize ? info : next;
        infoBytes += piece.bytes.size();
        step.reply.push_back(std::move(piece));
    }
    ScriptedLink link({info, next});
    const ExchangeOutcome out = query ? QueryRegisteredData(link) : RefreshRegisteredData(link);

    const ListingUpdate& listing = out.listing;
    Check(out.succeeded || listing.list != ListChange::Fill);
    Check(listing.records.size() <= RegisteredData::kMaxRecords);
    uint64_t memoryUse = 0;
    for (const CFontPT& record : listing.records) {
        Check(record.m_nCharCount <= kMaxRegistrationCodes);
        Check(record.m_charEntries.size() == record.m_nCharCount);
        memoryUse += record.MemoryUse();
    }
    if (listing.list == ListChange::Fill)
        Check(listing.memoryUse == memoryUse);

    RegisteredData panel;
    panel.Apply(listing);
    Check(panel.m_lines.size() == panel.m_records.size());
    return 0;
}
