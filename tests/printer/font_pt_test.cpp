#include "printer/font_pt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Slice(const uint8_t* p, size_t offset, size_t count) {
    return std::string(reinterpret_cast<const char*>(p + offset), count);
}

// A 10-point registration of 3 characters with a 24 x 28 cell (3 bytes a row,
// 84 bytes a glyph), written byte by byte in the header's little-endian layout.
FontHeader SampleHeader() {
    FontHeader h;
    uint8_t* b = h.bytes.data();
    std::memcpy(b + 0, "07", 2);
    std::memcpy(b + 4, "Sample", 6);
    b[10] = 0;
    b[11] = 'X'; // junk behind the name's zero byte must not travel
    std::memcpy(b + 36, "Bold", 4);
    b[41] = 'Y'; // likewise behind the style text
    std::memcpy(b + 48, "10\0\0", 4);
    b[52] = 24; // cell width
    b[54] = 28; // cell height
    b[56] = 84; // bytes per glyph
    b[60] = 3;  // n
    b[68] = 0x1A;
    b[69] = 0x01; // the rasteriser's 3 x (84 + 10) = 282
    b[72] = 1;    // vertical
    b[74] = 0x02; // pitch
    b[75] = 0x30; // family
    b[76] = 0x80; // character set 128
    b[77] = 1;    // italic
    b[78] = 0xBC;
    b[79] = 0x02; // weight 700
    b[80] = 0x0E;
    b[81] = 0x01; // average width 270
    b[82] = 0x19; // ascent 25
    b[84] = 0x20; // start code 0x20
    b[86] = 0xDF; // end code 0xDF
    std::memcpy(b + 100, "\x03\x00\x27\x38", 4);
    std::memcpy(b + 104, "FaceName", 8);
    b[136] = 10;
    b[138] = 1;
    b[140] = 0xCB; // 203
    return h;
}

TEST(FontPtBuild, InfoBlockCarriesTheHeaderFieldsBigEndian) {
    CFontPT pt;
    pt.m_fontHeader = SampleHeader();
    pt.m_infoBlock.fill(0xEE); // every byte must be rewritten
    pt.BuildInfoBlock();
    const uint8_t* b = pt.m_infoBlock.data();

    EXPECT_EQ(Slice(b, 0, 4), std::string("07\0\0", 4));
    EXPECT_EQ(Slice(b, 4, 32), std::string("Sample") + std::string(26, '\0'));
    EXPECT_EQ(Slice(b, 36, 12), std::string("Bold") + std::string(8, '\0'));
    EXPECT_EQ(Slice(b, 48, 4), std::string("10\0\0", 4));
    EXPECT_EQ(Slice(b, 52, 4), std::string("\x00\x18\x00\x1C", 4));
    EXPECT_EQ(Slice(b, 56, 4), std::string("\x00\x00\x00\x54", 4));
    EXPECT_EQ(Slice(b, 60, 4), std::string("\x00\x00\x00\x03", 4));
    EXPECT_EQ(Slice(b, 64, 4), std::string(4, '\0'));
    EXPECT_EQ(Slice(b, 68, 4), std::string("\x00\x00\x00\xFC", 4)); // 3 x 84 = 252
    EXPECT_EQ(Slice(b, 72, 2), std::string("\x00\x01", 2));
    EXPECT_EQ(Slice(b, 74, 4), std::string("\x02\x30\x80\x01", 4));
    EXPECT_EQ(Slice(b, 78, 2), std::string("\x02\xBC", 2));
    EXPECT_EQ(Slice(b, 80, 2), std::string("\x01\x0E", 2));
    EXPECT_EQ(Slice(b, 82, 2), std::string("\x00\x19", 2));
    EXPECT_EQ(Slice(b, 84, 4), std::string("\x00\x20\x00\xDF", 4));
    EXPECT_EQ(Slice(b, 88, 12), std::string(12, '\0'));
}

TEST(FontPtBuild, InfoBlockStoresTheGlyphDataSizeBackIntoTheHeaderCopy) {
    CFontPT pt;
    pt.m_fontHeader = SampleHeader();
    pt.BuildInfoBlock();
    EXPECT_EQ(Slice(pt.m_fontHeader.bytes.data(), 68, 4), std::string("\xFC\x00\x00\x00", 4));
    // The rest of the header copy is untouched.
    FontHeader expected = SampleHeader();
    expected.bytes[68] = 0xFC;
    expected.bytes[69] = 0x00;
    EXPECT_EQ(pt.m_fontHeader.bytes, expected.bytes);
}

TEST(FontPtBuild, FullNameAndStyleFieldsAreCopiedWithoutTerminator) {
    CFontPT pt;
    uint8_t* h = pt.m_fontHeader.bytes.data();
    std::memset(h + 4, 'N', 32);
    std::memset(h + 36, 'S', 12);
    pt.BuildInfoBlock();
    EXPECT_EQ(Slice(pt.m_infoBlock.data(), 4, 32), std::string(32, 'N'));
    EXPECT_EQ(Slice(pt.m_infoBlock.data(), 36, 12), std::string(12, 'S'));
    EXPECT_EQ(Slice(pt.m_infoBlock.data(), 48, 4), std::string(4, '\0'));
}

TEST(FontPtBuild, LargeRegistrationSizesAreBigEndian) {
    CFontPT pt;
    uint8_t* h = pt.m_fontHeader.bytes.data();
    h[56] = 0x48; // 72 bytes per glyph
    h[60] = 0x88; // n = 5000 = 0x1388
    h[61] = 0x13;
    pt.BuildInfoBlock();
    // 5000 x 72 = 360000 = 0x00057E40
    EXPECT_EQ(Slice(pt.m_infoBlock.data(), 60, 4), std::string("\x00\x00\x13\x88", 4));
    EXPECT_EQ(Slice(pt.m_infoBlock.data(), 68, 4), std::string("\x00\x05\x7E\x40", 4));
    EXPECT_EQ(Slice(pt.m_fontHeader.bytes.data(), 68, 4), std::string("\x40\x7E\x05\x00", 4));
}

TEST(FontPtBuild, DownloadDataHoldsWireRecords) {
    FontHeader h = SampleHeader();
    CFontPT pt;
    // "A": its own advance and height; U+3042: the cell's 24 x 28.
    std::vector<GlyphRecord> records{{0x0041, 1, 15, 20}, {0x3042, 2, 30, 31}};
    ASSERT_TRUE(pt.SetDownloadData(h, records, 84));
    EXPECT_EQ(pt.m_dwCharCount, 2u);
    EXPECT_EQ(pt.m_dwBytesPerGlyph, 84u);
    EXPECT_EQ(Slice(pt.WireRecord(0), 0, 10),
              std::string("\x41\x00\x00\x01\x00\x0F\x00\x00\x00\x14", 10));
    EXPECT_EQ(Slice(pt.WireRecord(1), 0, 10),
              std::string("\x42\x30\x00\x02\x00\x18\x00\x00\x00\x1C", 10));
    EXPECT_EQ(pt.m_fontHeader.bytes, h.bytes);
}

TEST(FontPtBuild, MoreThanFiveThousandRecordsAreRefused) {
    CFontPT pt;
    std::vector<GlyphRecord> records(5000, GlyphRecord{0x41, 0, 1, 1});
    ASSERT_TRUE(pt.SetDownloadData(FontHeader{}, records, 1));
    EXPECT_EQ(pt.m_wireRecords.size(), 50000u);
    records.push_back(GlyphRecord{0x42, 0, 1, 1});
    EXPECT_FALSE(pt.SetDownloadData(FontHeader{}, records, 1));
    EXPECT_EQ(pt.m_dwCharCount, 5000u);
}

// A received block: ID 5, name "Sample", size "12", 16 x 24 cell, 48 bytes a
// glyph, 100 characters, italic 0xFF, weight 400.
std::array<uint8_t, 100> ReceivedBlock() {
    std::array<uint8_t, 100> b{};
    std::memcpy(b.data() + 0, "05", 2);
    std::memcpy(b.data() + 4, "Sample", 6);
    std::memcpy(b.data() + 48, "12\0\0", 4);
    b[53] = 16;
    b[55] = 24;
    b[59] = 48;
    b[63] = 100;
    b[77] = 0xFF;
    b[78] = 0x01;
    b[79] = 0x90;
    return b;
}

TEST(FontPtParse, DecodesTheFieldsOfAReceivedBlock) {
    CFontPT pt;
    const auto block = ReceivedBlock();
    pt.ParseInfoBlock(block.data());
    EXPECT_EQ(pt.m_nId, 5);
    EXPECT_STREQ(pt.m_szName, "Sample");
    EXPECT_EQ(pt.m_nFontSize, 12);
    EXPECT_EQ(pt.m_nSize1, 16);
    EXPECT_EQ(pt.m_nSize2, 24);
    EXPECT_EQ(pt.m_nBytesPerGlyph, 48u);
    EXPECT_EQ(pt.m_nCharCount, 100u);
    EXPECT_EQ(pt.m_nDataSize, 4800u);
    EXPECT_EQ(pt.m_cItalic, -1);
    EXPECT_EQ(pt.m_nWeight, 400);
    EXPECT_EQ(pt.m_infoBlock, block);
}

TEST(FontPtParse, FullNameIsTerminatedAndSizesAreUnsigned) {
    auto block = ReceivedBlock();
    std::memset(block.data() + 4, 'Z', 32);
    block[36] = 'Q'; // first style byte must not run into the name
    block[52] = 0xFF;
    block[53] = 0xFE;
    block[54] = 0x80;
    block[55] = 0x00;
    block[78] = 0xFF;
    block[79] = 0xFF;
    CFontPT pt;
    pt.ParseInfoBlock(block.data());
    EXPECT_EQ(std::string(pt.m_szName), std::string(32, 'Z'));
    EXPECT_EQ(pt.m_nSize1, 65534);
    EXPECT_EQ(pt.m_nSize2, 32768);
    EXPECT_EQ(pt.m_nWeight, 65535);
}

TEST(FontPtParse, GarbledDigitsAndHugeSizesStayDefined) {
    auto block = ReceivedBlock();
    std::memcpy(block.data(), "9x", 2);
    std::memcpy(block.data() + 48,
                "7\xFF"
                "12",
                4);
    std::memset(block.data() + 56, 0xFF, 8); // both 0xFFFFFFFF
    CFontPT pt;
    pt.ParseInfoBlock(block.data());
    EXPECT_EQ(pt.m_nId, 9);
    EXPECT_EQ(pt.m_nFontSize, 7);
    EXPECT_EQ(pt.m_nCharCount, 0xFFFFFFFFu);
    EXPECT_EQ(pt.m_nDataSize, 0xFFFFFFFE00000001ull);
}

} // namespace
