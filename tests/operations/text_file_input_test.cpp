#include "operations/text_file_input.h"

#include <gtest/gtest.h>

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
