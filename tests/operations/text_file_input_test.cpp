#include "operations/text_file_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextFileInput, Utf16BytesBecomeUnitsUpToTheFirstZero) {
    EXPECT_EQ(DecodeUtf16Text({0x41, 0x00, 0x42, 0x30}), u"A\u3042");
    EXPECT_EQ(DecodeUtf16Text({0xFF, 0xFE, 0x41, 0x00}), u"\uFEFFA") << "a byte-order mark stays";
    EXPECT_EQ(DecodeUtf16Text({0x41, 0x00, 0x00, 0x00, 0x42, 0x00}), u"A");
    EXPECT_EQ(DecodeUtf16Text({}), u"");
}

TEST(TextFileInput, AnOddLastByteIsFollowedByTheTerminatingZero) {
    EXPECT_EQ(DecodeUtf16Text({0x41, 0x00, 0x42}), u"AB");
}

TEST(TextFileInput, CodePageBytesEndAtTheFirstZero) {
    EXPECT_EQ(AnsiTextBytes({0x82, 0xA0, 0x00, 0x41}), "\x82\xA0");
    EXPECT_EQ(AnsiTextBytes({0x41, 0x0D, 0x0A}), "A\r\n");
}

} // namespace

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

TEST(TextFileInput, AByteOrderMarkDecidesAndIsNoCharacter) {
    const struct {
        std::string bytes;
        bool unicode;
        std::u16string text;
        bool cut;
    } cases[] = {
        {"\xEF\xBB\xBF\xE3\x81\x82"
         "A",
         false, u"\u3042A", false},
        {"\xEF\xBB\xBF\xF0\x9F\x98\x80", true, u"\U0001F600", false},
        {"\xEF\xBB\xBF\xC0\xAF"
         "A",
         false, u"\uFFFD\uFFFDA", false}, // overlong
        {"\xEF\xBB\xBF"
         "A\xE3\x81",
         false, u"A\uFFFD\uFFFD", false}, // cut short
        {std::string("\xEF\xBB\xBF"
                     "A\0B",
                     6),
         false, u"A", true},
        {"\xFF\xFE"
         "A\x00",
         false, u"A", false},
        {std::string("\xFE\xFF\x30\x42\0A", 6), false, u"\u3042A", false},
        {std::string("\xFE\xFF\0\0\0A", 6), true, u"", true},
        {std::string("A\0B\0", 4), true, u"AB", false},
    };
    for (const auto& c : cases) {
        const TextFileText read = DecodeTextFile(Bytes(c.bytes), c.unicode);
        EXPECT_FALSE(read.codePage);
        EXPECT_EQ(read.text, c.text) << c.bytes;
        EXPECT_EQ(read.cutAtZero, c.cut) << c.bytes;
    }
    // Without a mark or the box: the code page's bytes up to the first zero.
    const TextFileText ansi = DecodeTextFile(Bytes(std::string("\x82\xA0\0B", 4)), false);
    EXPECT_TRUE(ansi.codePage);
    EXPECT_EQ(ansi.codePageBytes, "\x82\xA0");
    EXPECT_TRUE(ansi.cutAtZero);
}

} // namespace
