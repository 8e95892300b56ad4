#include "printer/planned_listing.h"

#include <algorithm>

#include "printer/registered_data.h"

namespace {

// A name field of an information block: up to its first zero byte.
std::string NameIn(const std::array<uint8_t, CFontPT::kInfoBlockSize>& block) {
    const uint8_t* begin = block.data() + FontInfoBlock::kRegName;
    const uint8_t* end = std::find(begin, begin + CFontPT::kNameWidth, 0);
    return std::string(begin, end);
}

uint16_t CodeOf(const uint8_t* lowFirst) {
    return uint16_t(lowFirst[0] | lowFirst[1] << 8);
}

} // namespace

ListingDifference CompareWithListing(const PlannedRegistration& planned,
                                     const std::vector<CFontPT>& listed) {
    // A printer that acknowledged every character may still have kept what
    // it held under the ID before: an older font of the same cell and count
    // has the same size, so the name and the codes must be compared too.
    const CFontPT& sent = planned.record;
    ListingDifference difference;
    difference.id = planned.line.id;
    const CFontPT* entry = FindRegistered(listed, planned.line.id);
    if (!entry) {
        difference.what = ListingMismatch::Missing;
        return difference;
    }
    difference.plannedName = NameIn(sent.m_infoBlock);
    difference.listedName = NameIn(entry->m_infoBlock);
    if (difference.plannedName != difference.listedName) {
        difference.what = ListingMismatch::Name;
        return difference;
    }
    const uint64_t plannedSize = uint64_t(sent.m_dwCharCount) * sent.m_dwBytesPerGlyph;
    if (entry->m_nCharCount != sent.m_dwCharCount) {
        difference.what = ListingMismatch::CharacterCount;
        difference.planned = sent.m_dwCharCount;
        difference.listed = entry->m_nCharCount;
        return difference;
    }
    if (entry->m_nDataSize != plannedSize) {
        difference.what = ListingMismatch::DataSize;
        difference.planned = plannedSize;
        difference.listed = entry->m_nDataSize;
        return difference;
    }
    // The listing carries one entry per character it announced; a short one
    // (a listing cut off) has no codes to compare beyond its end.
    const size_t carried = std::min<size_t>(entry->m_charEntries.size(), sent.m_dwCharCount);
    for (size_t i = 0; i < carried; ++i) {
        const uint16_t code = CodeOf(sent.WireRecord(i));
        const uint16_t shown = CodeOf(entry->m_charEntries[i].data());
        if (code != shown) {
            difference.what = ListingMismatch::CharacterCode;
            difference.planned = code;
            difference.listed = shown;
            difference.character = i;
            return difference;
        }
    }
    return difference;
}
