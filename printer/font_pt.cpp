#include "printer/font_pt.h"

#include <cstring>

#include "fontdata/byte_order.h"

namespace {

// Value of the leading ASCII digits of a fixed-width field, as the printer's
// digits are read: a zero byte or any other non-digit ends the number.
int LeadingDecimal(const uint8_t* p, size_t width) {
    int value = 0;
    for (size_t i = 0; i < width && p[i] >= '0' && p[i] <= '9'; ++i)
        value = value * 10 + (p[i] - '0');
    return value;
}

size_t TextLength(const uint8_t* p, size_t width) {
    size_t n = 0;
    while (n < width && p[n] != 0)
        ++n;
    return n;
}

} // namespace

bool CFontPT::SetDownloadData(const FontHeader& header, const std::vector<GlyphRecord>& records,
                              uint32_t bytesPerGlyph) {
    if (records.size() > kMaxRegistrationCodes)
        return false;
    m_fontHeader = header;
    const uint16_t cellWidth = header.Word(FontHeader::kCellWidth);
    const uint16_t cellHeight = header.Word(FontHeader::kCellHeight);
    m_wireRecords.assign(records.size() * GlyphRecord::kSize, 0);
    for (size_t i = 0; i < records.size(); ++i)
        records[i].ToWire(m_wireRecords.data() + i * GlyphRecord::kSize, cellWidth, cellHeight);
    m_dwBytesPerGlyph = bytesPerGlyph;
    m_dwCharCount = uint32_t(records.size());
    return true;
}

void CFontPT::BuildInfoBlock() {
    const FontHeader& h = m_fontHeader;
    uint8_t* b = m_infoBlock.data();
    m_infoBlock.fill(0);

    std::memcpy(b + 0, h.bytes.data() + FontHeader::kRegistrationId, 2);
    // Name and style go only up to their zero byte, so whatever the header
    // holds behind a short text never reaches the printer.
    const uint8_t* name = h.bytes.data() + FontHeader::kRegName;
    std::memcpy(b + 4, name, TextLength(name, FontHeader::kNameWidth));
    const uint8_t* style = h.bytes.data() + FontHeader::kStyleText;
    std::memcpy(b + 36, style, TextLength(style, FontHeader::kStyleWidth));
    std::memcpy(b + 48, h.bytes.data() + FontHeader::kSizeText, 4);

    WriteBE16(b + 52, h.Word(FontHeader::kCellWidth));
    WriteBE16(b + 54, h.Word(FontHeader::kCellHeight));
    WriteBE32(b + 56, h.DWord(FontHeader::kBytesPerGlyph));
    WriteBE32(b + 60, h.DWord(FontHeader::kCharCount));
    WriteBE16(b + 72, h.Word(FontHeader::kVertical));
    b[74] = h.Byte(FontHeader::kPitch);
    b[75] = h.Byte(FontHeader::kFamily);
    b[76] = h.Byte(FontHeader::kCharSet);
    b[77] = h.Byte(FontHeader::kItalic);
    WriteBE16(b + 78, h.Word(FontHeader::kWeight));
    WriteBE16(b + 80, h.Word(FontHeader::kAverageWidth));
    WriteBE16(b + 82, h.Word(FontHeader::kAscent));
    WriteBE16(b + 84, h.Word(FontHeader::kCodeStart));
    WriteBE16(b + 86, h.Word(FontHeader::kCodeEnd));

    // The rasteriser's data size counts the records too; the printer wants
    // the glyph bytes alone.
    const uint32_t dataSize = h.DWord(FontHeader::kCharCount) * h.DWord(FontHeader::kBytesPerGlyph);
    m_fontHeader.SetDWord(FontHeader::kDataSize, dataSize);
    WriteBE32(b + 68, dataSize);
}

void CFontPT::ParseInfoBlock(const uint8_t* block) {
    std::memcpy(m_infoBlock.data(), block, kInfoBlockSize);
    m_nId = int16_t(LeadingDecimal(block, 2));
    std::memcpy(m_szName, block + 4, kNameWidth);
    m_szName[kNameWidth] = '\0';
    m_nFontSize = LeadingDecimal(block + 48, 4);
    m_nSize1 = ReadBE16(block + 52);
    m_nSize2 = ReadBE16(block + 54);
    m_nBytesPerGlyph = ReadBE32(block + 56);
    m_nCharCount = ReadBE32(block + 60);
    // 64 bits: a garbled block may announce sizes whose product overflows.
    m_nDataSize = uint64_t(m_nBytesPerGlyph) * m_nCharCount;
    m_cItalic = int8_t(block[77]);
    m_nWeight = ReadBE16(block + 78);
}
