#pragma once
// CFontPT: the record of one font or logo as the printer knows it. The form
// keeps one as the download record (its header, information block and wire
// glyph records) and one hundred for the printer's registered entries (the
// decoded information block and the 6-byte character entries).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fontdata/font_header.h"
#include "fontdata/glyph_record.h"

// The 100-byte information block that describes a font to the printer and
// comes back in its listing: the header's fields at the header's offsets,
// big-endian, and only those.
struct FontInfoBlock {
    static constexpr size_t kSize = 100;

    static constexpr size_t kRegistrationId = FontHeader::kRegistrationId; // two ASCII digits
    static constexpr size_t kRegName = FontHeader::kRegName;               // 32 bytes
    static constexpr size_t kStyleText = FontHeader::kStyleText;           // 12 bytes
    static constexpr size_t kSizeText = FontHeader::kSizeText;             // 4 bytes
    static constexpr size_t kCellWidth = FontHeader::kCellWidth;           // 16-bit; logo: height
    static constexpr size_t kCellHeight = FontHeader::kCellHeight;         // 16-bit; logo: width
    static constexpr size_t kBytesPerGlyph = FontHeader::kBytesPerGlyph;   // 32-bit
    static constexpr size_t kCharCount = FontHeader::kCharCount;           // 32-bit
    static constexpr size_t kDataSize = FontHeader::kDataSize;             // 32-bit
    static constexpr size_t kItalic = FontHeader::kItalic;                 // 8-bit
    static constexpr size_t kWeight = FontHeader::kWeight;                 // 16-bit
};

// What the printer's registration memory gives an entry: its glyph data and
// a 10-byte record per character.
constexpr uint64_t EntryMemoryUse(uint64_t charCount, uint64_t bytesPerGlyph) {
    return charCount * (bytesPerGlyph + GlyphRecord::kSize);
}

class CFontPT {
public:
    static constexpr size_t kInfoBlockSize = FontInfoBlock::kSize;
    static constexpr size_t kCharEntrySize = 6;
    static constexpr size_t kNameWidth = 32;

    using CharEntry = std::array<uint8_t, kCharEntrySize>;

    // --- Download record -------------------------------------------------
    // Takes the completed header (with the ID digits) and turns the native
    // records into wire form. Refuses (false, record unchanged) more than
    // kMaxRegistrationCodes records.
    bool SetDownloadData(const FontHeader& header, const std::vector<GlyphRecord>& records,
                         uint32_t bytesPerGlyph);
    // Fills m_infoBlock from m_fontHeader and stores n x bytes per glyph back
    // into the header copy at offset 68.
    void BuildInfoBlock();
    // The 10-byte wire record of character i (i < m_dwCharCount).
    const uint8_t* WireRecord(size_t i) const {
        return m_wireRecords.data() + i * GlyphRecord::kSize;
    }

    FontHeader m_fontHeader;
    std::array<uint8_t, kInfoBlockSize> m_infoBlock{};
    uint32_t m_dwBytesPerGlyph = 0;
    uint32_t m_dwCharCount = 0;
    std::vector<uint8_t> m_wireRecords; // m_dwCharCount x 10 bytes

    // --- Registered entry ------------------------------------------------
    // Decodes a received 100-byte information block into the fields below.
    void ParseInfoBlock(const uint8_t* block);
    // A logo has exactly one character entry, whose code bytes are 6B 82.
    bool IsLogo() const {
        return m_charEntries.size() == 1 && m_charEntries[0][0] == 0x6B &&
               m_charEntries[0][1] == 0x82;
    }

    // What this registered entry takes of the printer's memory.
    uint64_t MemoryUse() const { return m_nDataSize + GlyphRecord::kSize * uint64_t(m_nCharCount); }

    int16_t m_nId = 0;
    char m_szName[kNameWidth + 1] = {};
    int m_nFontSize = 0;
    int m_nSize1 = 0; // cell width of a font; vertical size of a logo
    int m_nSize2 = 0; // cell height of a font; horizontal size of a logo
    uint32_t m_nBytesPerGlyph = 0;
    uint32_t m_nCharCount = 0;
    uint64_t m_nDataSize = 0; // bytes per glyph x character count
    int8_t m_cItalic = 0;
    int m_nWeight = 0;
    std::vector<CharEntry> m_charEntries; // at most kMaxRegistrationCodes
};
