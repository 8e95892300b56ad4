#include "tools/vprinter/registration_memory.h"

#include <algorithm>
#include <cstring>

#include "fontdata/byte_order.h"

namespace vprinter {

int ParseIdDigits(const uint8_t* digits) {
    if (digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9')
        return -1;
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

uint32_t StoredFont::BytesPerGlyph() const {
    return ReadBE32(info.data() + 56);
}
uint32_t StoredFont::CellWidth() const {
    return ReadBE16(info.data() + 52);
}
uint32_t StoredFont::CellHeight() const {
    return ReadBE16(info.data() + 54);
}

uint64_t MemoryUseOf(uint64_t characters, uint64_t bytesPerGlyph) {
    return characters * bytesPerGlyph + 10 * characters;
}

uint32_t StoredFont::MemoryUse() const {
    return uint32_t(MemoryUseOf(CharacterCount(), BytesPerGlyph()));
}

bool StoredFont::IsLogo() const {
    return records.size() == 1 && records[0][0] == 0x6B && records[0][1] == 0x82;
}

std::array<uint8_t, kEntrySize> StoredFont::Entry(size_t i) const {
    // The code as received (low byte first), then the advance width and the
    // height, big-endian as on the wire: what a character needs to be placed.
    const auto& r = records[i];
    return {r[0], r[1], r[4], r[5], r[8], r[9]};
}

StoredFont MakeLogo(int id, const std::string& name, uint16_t verticalDots,
                    uint16_t horizontalDots) {
    StoredFont logo;
    uint8_t* b = logo.info.data();
    b[0] = uint8_t('0' + id / 10);
    b[1] = uint8_t('0' + id % 10);
    std::memcpy(b + 4, name.data(), std::min<size_t>(name.size(), 32));
    b[48] = '0';
    WriteBE16(b + 52, verticalDots);
    WriteBE16(b + 54, horizontalDots);
    const uint32_t perGlyph = uint32_t((horizontalDots + 7) / 8) * verticalDots;
    WriteBE32(b + 56, perGlyph);
    WriteBE32(b + 60, 1);
    WriteBE32(b + 68, perGlyph);
    WriteBE16(b + 78, 400);
    std::array<uint8_t, kWireRecordSize> record{};
    record[0] = 0x6B;
    record[1] = 0x82;
    WriteBE16(record.data() + 4, horizontalDots);
    WriteBE16(record.data() + 8, verticalDots);
    logo.records.push_back(record);
    logo.glyphs.assign(perGlyph, 0);
    return logo;
}

const StoredFont* RegistrationMemory::Find(int id) const {
    for (const auto& e : entries_)
        if (e.Id() == id)
            return &e;
    return nullptr;
}

uint32_t RegistrationMemory::Used() const {
    uint32_t used = 0;
    for (const auto& e : entries_)
        used += e.MemoryUse();
    return used;
}

bool RegistrationMemory::Fits(uint64_t use, int replacingId) const {
    uint64_t used = Used();
    if (const StoredFont* old = Find(replacingId))
        used -= old->MemoryUse();
    return used + use <= kMemoryCapacity;
}

void RegistrationMemory::Store(StoredFont font) {
    Remove(font.Id());
    auto at = std::find_if(entries_.begin(), entries_.end(),
                           [&](const StoredFont& e) { return e.Id() > font.Id(); });
    entries_.insert(at, std::move(font));
}

bool RegistrationMemory::Remove(int id) {
    auto at = std::find_if(entries_.begin(), entries_.end(),
                           [&](const StoredFont& e) { return e.Id() == id; });
    if (at == entries_.end())
        return false;
    entries_.erase(at);
    return true;
}

std::vector<uint8_t> RegistrationMemory::RecordData() const {
    std::vector<uint8_t> data;
    for (const auto& e : entries_) {
        // The count the block announces must be the entries that follow, or
        // the reader loses its place in the stream.
        auto block = e.info;
        WriteBE32(block.data() + 60, e.CharacterCount());
        data.insert(data.end(), block.begin(), block.end());
        for (size_t i = 0; i < e.records.size(); ++i) {
            const auto entry = e.Entry(i);
            data.insert(data.end(), entry.begin(), entry.end());
        }
    }
    return data;
}

} // namespace vprinter
