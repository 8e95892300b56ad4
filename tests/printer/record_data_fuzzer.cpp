// Feeds arbitrary printer output to the listing: the first 11 bytes are the
// info reply, the rest the record data after Proceed. Reads take bytes from
// the input as long as it lasts, so every truncation point is reached.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "printer/listing_exchange.h"
#include "printer/registered_data.h"

namespace {

class MemoryLink : public PrinterLink {
public:
    MemoryLink(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool WriteBlock(const uint8_t*, size_t) override { return true; }
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned) override {
        const size_t left = m_size - m_pos;
        const size_t n = count < left ? count : left;
        std::memcpy(buffer, m_data + m_pos, n);
        m_pos += n;
        return n == count;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryLink link(data, size);
    const ExchangeOutcome out = QueryRegisteredData(link);
    RegisteredData panel;
    panel.Apply(out.listing);

    if (panel.m_records.size() > RegisteredData::kMaxRecords)
        std::abort();
    if (panel.m_lines.size() != panel.m_records.size())
        std::abort();
    for (const CFontPT& r : panel.m_records) {
        if (r.m_charEntries.size() > kMaxRegistrationCodes)
            std::abort();
        if (r.m_charEntries.size() != r.m_nCharCount)
            std::abort();
        if (std::strlen(r.m_szName) > CFontPT::kNameWidth)
            std::abort();
    }
    if (!out.succeeded && out.listing.list == ListChange::Fill)
        std::abort();
    return 0;
}
