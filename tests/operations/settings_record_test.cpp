#include "operations/settings_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const FontHeader& h, size_t offset, size_t count) {
    return std::string(reinterpret_cast<const char*>(h.bytes.data() + offset), count);
}

uint16_t Le16(const FontHeader& h, size_t offset) {
    return uint16_t(h.bytes[offset] | h.bytes[offset + 1] << 8);
}

SettingsRecord FilledDoc() {
    SettingsRecord doc;
    doc.SetVertical(1);
    doc.SetPointSize(72);
    doc.SetBold(1);
    doc.SetItalic(0);
    // What Save and Download store before the header is built.
    doc.SetRegName("Label");
    doc.SetFaceName("@IPA\x96\xbe\x92\xa9"); // @IPA明朝
    doc.SetCodeStart(0x20);
    doc.SetCodeEnd(0xDF);
    doc.SetCharCount(4321);
    return doc;
}

TEST(GlyphkitDoc, StartsWithTheDefaults) {
    SettingsRecord doc;
    EXPECT_EQ(doc.GetFaceName(), std::string("\x82\x6c\x82\x72 \x96\xbe\x92\xa9"));
    EXPECT_EQ(doc.GetFaceName().size(), 9u);
    EXPECT_EQ(doc.GetRegName(), "");
    EXPECT_EQ(doc.GetPointSize(), 10);
    EXPECT_EQ(doc.GetRangeStart(), 32);
    EXPECT_EQ(doc.GetRangeEnd(), 255);
    EXPECT_EQ(doc.GetBold() | doc.GetItalic() | doc.GetUnicodeFile() | doc.GetVertical(), 0);
    EXPECT_EQ(doc.GetCharCount(), 0);
    for (uint8_t b : doc.GetFontHeader().bytes)
        ASSERT_EQ(b, 0);
}

TEST(GlyphkitDoc, BuildFontHeaderWritesEachSettingAtItsOffset) {
    const FontHeader h = FilledDoc().BuildFontHeader();
    EXPECT_EQ(Bytes(h, 2, 2), std::string(2, '\0'));
    EXPECT_EQ(Bytes(h, 4, 32), std::string("Label") + std::string(27, '\0'));
    EXPECT_EQ(Bytes(h, 36, 12), std::string("Bold") + std::string(8, '\0'));
    EXPECT_EQ(Bytes(h, 48, 4), std::string("72\0\0", 4));
    EXPECT_EQ(Bytes(h, 60, 4), std::string("\xE1\x10\0\0", 4)); // 4321
    EXPECT_EQ(Le16(h, 72), 1);
    EXPECT_EQ(h.bytes[77], 0);
    EXPECT_EQ(Le16(h, 78), 700);
    EXPECT_EQ(Le16(h, 84), 0x20);
    EXPECT_EQ(Le16(h, 86), 0xDF);
    EXPECT_EQ(Bytes(h, 104, 32), std::string("@IPA\x96\xbe\x92\xa9") + std::string(24, '\0'));
    EXPECT_EQ(Le16(h, 136), 72);
}

TEST(GlyphkitDoc, BuildFontHeaderLeavesTheOtherBytesAlone) {
    SettingsRecord doc = FilledDoc();
    FontHeader seeded;
    seeded.bytes.fill(0xAB);
    doc.SetFontHeader(seeded);
    const FontHeader h = doc.BuildFontHeader();
    const size_t untouched[][2] = {{0, 2}, {52, 8}, {64, 8}, {74, 3}, {80, 4}, {88, 16}, {138, 4}};
    for (auto& range : untouched)
        for (size_t i = range[0]; i < range[0] + range[1]; ++i)
            EXPECT_EQ(h.bytes[i], 0xAB) << "offset " << i;
}

TEST(GlyphkitDoc, StyleTextFollowsBoldAndItalic) {
    struct Case {
        int bold, italic;
        const char* text;
    };
    for (Case c :
         {Case{1, 0, "Bold"}, Case{0, 1, "Italic"}, Case{0, 0, nullptr}, Case{1, 1, nullptr}}) {
        SettingsRecord doc;
        doc.SetBold(c.bold);
        doc.SetItalic(c.italic);
        const FontHeader h = doc.BuildFontHeader();
        if (c.text) {
            EXPECT_EQ(Bytes(h, 36, 12),
                      std::string(c.text) + std::string(12 - strlen(c.text), '\0'));
        }
        EXPECT_EQ(h.bytes[47], 0) << "the style text always ends with a zero byte";
        EXPECT_EQ(h.bytes[77], c.italic);
        EXPECT_EQ(Le16(h, 78), c.bold ? 700 : 400);
    }
}

TEST(GlyphkitDoc, HeaderRoundTripsEverySetting) {
    SettingsRecord doc = FilledDoc();
    doc.SetItalic(1);
    SettingsRecord restored;
    restored.SetFontHeader(doc.BuildFontHeader());
    restored.ApplyFontHeader();
    EXPECT_EQ(restored.GetRegName(), "Label");
    EXPECT_EQ(restored.GetFaceName(), doc.GetFaceName());
    EXPECT_EQ(restored.GetPointSize(), 72);
    EXPECT_EQ(restored.GetBold(), 1);
    EXPECT_EQ(restored.GetItalic(), 1);
    EXPECT_EQ(restored.GetVertical(), 1);
    EXPECT_EQ(restored.GetCodeStart(), 0x20);
    EXPECT_EQ(restored.GetCodeEnd(), 0xDF);
    EXPECT_EQ(restored.GetCharCount(), 4321);
}

TEST(GlyphkitDoc, ThirtyTwoByteNamesFillTheirFieldsWithoutTerminator) {
    const std::string name32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const std::string face32 = "@" + std::string(31, 'F');
    SettingsRecord doc;
    doc.SetItalic(1);
    doc.SetRegName(name32);
    doc.SetFaceName(face32);
    const FontHeader h = doc.BuildFontHeader();
    EXPECT_EQ(Bytes(h, 4, 32), name32);
    EXPECT_EQ(Bytes(h, 104, 32), face32);

    SettingsRecord restored;
    restored.SetFontHeader(h);
    restored.ApplyFontHeader();
    // The style text right behind the name must not leak into it.
    EXPECT_EQ(restored.GetRegName(), name32);
    EXPECT_EQ(restored.GetFaceName(), face32);
}

TEST(GlyphkitDoc, ApplyFontHeaderReadsOnlyExactFlagValues) {
    FontHeader h;
    h.SetWord(FontHeader::kWeight, 600);
    h.SetWord(FontHeader::kVertical, 2);
    h.SetDWord(FontHeader::kCharCount, 0x12345);
    SettingsRecord doc;
    doc.SetBold(1);
    doc.SetVertical(1);
    doc.SetFontHeader(h);
    doc.ApplyFontHeader();
    EXPECT_EQ(doc.GetBold(), 0);
    EXPECT_EQ(doc.GetVertical(), 0);
    EXPECT_EQ(doc.GetCharCount(), 0x2345) << "the low 16 bits of the count";
}

} // namespace
