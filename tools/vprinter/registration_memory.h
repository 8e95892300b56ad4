#pragma once
// The printer's registration memory: the fonts and logos it holds, what each
// costs of the 240 KB, and the record data it sends when asked for a listing.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vprinter {

constexpr size_t kInfoBlockSize = 100;
constexpr size_t kWireRecordSize = 10;
constexpr size_t kEntrySize = 6;
constexpr uint32_t kMemoryCapacity = 240 * 1024;
constexpr uint32_t kMaxCharacters = 5000;
constexpr int kMaxId = 99;

// Value of two ASCII decimal digits, or -1 when they are not digits.
int ParseIdDigits(const uint8_t* digits);

// One registered font or logo, kept as it came over the line: the information
// block, each character's 10-byte wire record and the glyph bitmaps.
struct StoredFont {
    std::array<uint8_t, kInfoBlockSize> info{};
    std::vector<std::array<uint8_t, kWireRecordSize>> records;
    std::vector<uint8_t> glyphs;

    int Id() const { return ParseIdDigits(info.data()); }
    uint32_t BytesPerGlyph() const;
    uint32_t CellWidth() const;
    uint32_t CellHeight() const;
    uint32_t CharacterCount() const { return uint32_t(records.size()); }
    // What the entry takes of the memory: its glyph data plus 10 bytes per character.
    uint32_t MemoryUse() const;
    bool IsLogo() const;
    // The 6-byte character entry the listing reports for character i.
    std::array<uint8_t, kEntrySize> Entry(size_t i) const;
    const uint8_t* Glyph(size_t i) const { return glyphs.data() + i * BytesPerGlyph(); }
};

// Cost of a registration of n characters of b bytes each.
uint64_t MemoryUseOf(uint64_t characters, uint64_t bytesPerGlyph);

// A logo as the printer holds one: a single character entry whose code bytes
// are 6B 82, sized vertical x horizontal dots, blank.
StoredFont MakeLogo(int id, const std::string& name, uint16_t verticalDots,
                    uint16_t horizontalDots);

class RegistrationMemory {
public:
    const std::vector<StoredFont>& Entries() const { return entries_; }
    const StoredFont* Find(int id) const;
    uint32_t Used() const;
    // Whether an entry costing `use` bytes fits, counting the entry of
    // `replacingId` (if any) as freed.
    bool Fits(uint64_t use, int replacingId) const;
    // Stores the entry, replacing one of the same ID; entries stay in ID order.
    void Store(StoredFont font);
    bool Remove(int id);
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }

    // The records of a listing, without the framing STX and ETX: per entry its
    // information block and its 6-byte character entries.
    std::vector<uint8_t> RecordData() const;

private:
    std::vector<StoredFont> entries_;
};

} // namespace vprinter
