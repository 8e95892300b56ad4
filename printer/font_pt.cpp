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

    using B = FontInfoBlock;
    std::memcpy(b + B::kRegistrationId, h.bytes.data() + FontHeader::kRegistrationId, 2);
    // Name and style go only up to their zero byte, so whatever the header
    // holds behind a short text never reaches the printer.
    const uint8_t* name = h.bytes.data() + FontHeader::kRegName;
    std::memcpy(b + B::kRegName, name, TextLength(name, FontHeader::kNameWidth));
    const uint8_t* style = h.bytes.data() + FontHeader::kStyleText;
    std::memcpy(b + B::kStyleText, style, TextLength(style, FontHeader::kStyleWidth));
    std::memcpy(b + B::kSizeText, h.bytes.data() + FontHeader::kSizeText,
                FontHeader::kSizeTextWidth);

    // The numbers the block carries, each where the header keeps it, in the
    // printer's byte order.
    const struct {
        size_t offset;
        size_t width;
    } kNumbers[] = {{FontHeader::kCellWidth, 2},     {FontHeader::kCellHeight, 2},
                    {FontHeader::kBytesPerGlyph, 4}, {FontHeader::kCharCount, 4},
                    {FontHeader::kVertical, 2},      {FontHeader::kPitch, 1},
                    {FontHeader::kFamily, 1},        {FontHeader::kCharSet, 1},
                    {FontHeader::kItalic, 1},        {FontHeader::kWeight, 2},
                    {FontHeader::kAverageWidth, 2},  {FontHeader::kAscent, 2},
                    {FontHeader::kCodeStart, 2},     {FontHeader::kCodeEnd, 2}};
    for (const auto& field : kNumbers) {
        if (field.width == 1)
            b[field.offset] = h.Byte(field.offset);
        else if (field.width == 2)
            WriteBE16(b + field.offset, h.Word(field.offset));
        else
            WriteBE32(b + field.offset, h.DWord(field.offset));
    }

    // The rasteriser's data size counts the records too; the printer wants
    // the glyph bytes alone.
    const uint32_t dataSize = h.DWord(FontHeader::kCharCount) * h.DWord(FontHeader::kBytesPerGlyph);
    m_fontHeader.SetDWord(FontHeader::kDataSize, dataSize);
    WriteBE32(b + B::kDataSize, dataSize);
}

void CFontPT::ParseInfoBlock(const uint8_t* block) {
    using B = FontInfoBlock;
    std::memcpy(m_infoBlock.data(), block, kInfoBlockSize);
    m_nId = int16_t(LeadingDecimal(block + B::kRegistrationId, 2));
    std::memcpy(m_szName, block + B::kRegName, kNameWidth);
    m_szName[kNameWidth] = '\0';
    m_nFontSize = LeadingDecimal(block + B::kSizeText, FontHeader::kSizeTextWidth);
    m_nSize1 = ReadBE16(block + B::kCellWidth);
    m_nSize2 = ReadBE16(block + B::kCellHeight);
    m_nBytesPerGlyph = ReadBE32(block + B::kBytesPerGlyph);
    m_nCharCount = ReadBE32(block + B::kCharCount);
    // 64 bits: a garbled block may announce sizes whose product overflows.
    m_nDataSize = uint64_t(m_nBytesPerGlyph) * m_nCharCount;
    m_cItalic = int8_t(block[B::kItalic]);
    m_nWeight = ReadBE16(block + B::kWeight);
}
