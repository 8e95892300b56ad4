#include "fontdata/win_code_page_conversion.h"

#include <gtest/gtest.h>

#include <vector>

#include "fontdata/code_list.h"

namespace {

std::vector<uint16_t> CodeListOf(std::vector<uint16_t> units, uint32_t codePage) {
    CWinCodePageConversion conversion;
    CCodeList list;
    EXPECT_EQ(list.Setup(uint16_t(units.size()), units.data(), codePage), 1);
    list.Build(conversion);
    return std::vector<uint16_t>(list.Codes(), list.Codes() + list.Count());
}

TEST(WinCodePageConversion, OneByteCodesBecomeUnitsOfTheirCodePage) {
    CWinCodePageConversion conversion;
    EXPECT_EQ(conversion.ByteToUnit(0xB1, 932), 0xFF71) << "half-width katakana A";
    EXPECT_EQ(conversion.ByteToUnit(0x41, 932), 0x0041);
    EXPECT_EQ(conversion.ByteToUnit(0x5C, 1252), 0x005C);
    EXPECT_EQ(conversion.ByteToUnit(0x80, 1252), 0x20AC) << "the euro sign";
    EXPECT_EQ(conversion.ByteToUnit(0xE9, 1252), 0x00E9);
}

TEST(WinCodePageConversion, TheRangeAddsThePrintableAsciiCodes) {
    CWinCodePageConversion conversion;
    for (uint32_t codePage : {932u, 1252u}) {
        auto units = CollectRegistrationUnits(u"", true, 0x00, 0x7E, codePage, conversion);
        ASSERT_TRUE(units);
        std::vector<uint16_t> expected;
        for (uint16_t u = 0x20; u <= 0x7E; ++u)
            expected.push_back(u);
        EXPECT_EQ(CodeListOf(*units, codePage), expected) << codePage;
    }
}

TEST(WinCodePageConversion, UnitsThatTheCodePageCannotExpressAreDropped) {
    ASSERT_FALSE(IsWindowsNt4());
    // 们 and 这 exist only in Chinese code pages; あ and 日 are in code page 932.
    EXPECT_EQ(CodeListOf({0x4EEC, 0x3042, 0x8FD9, 0x65E5}, 932),
              (std::vector<uint16_t>{0x3042, 0x65E5}));
    EXPECT_EQ(CodeListOf({0x4EEC, 0x3042}, 936), (std::vector<uint16_t>{0x3042, 0x4EEC}));
    CWinCodePageConversion conversion;
    uint8_t bytes[2];
    int count = 0;
    EXPECT_TRUE(conversion.UnitToCodePage(0xFF71, 932, bytes, &count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(bytes[0], 0xB1);
    EXPECT_TRUE(conversion.UnitToCodePage(0x65E5, 932, bytes, &count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(bytes[0], 0x93);
    EXPECT_EQ(bytes[1], 0xFA);
}

} // namespace
