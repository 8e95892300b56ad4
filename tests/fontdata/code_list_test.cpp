#include "fontdata/code_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

namespace {

// A code page that expresses everything except the units in `missing`, and
// turns bytes into units by a fixed table.
class FakeConversion : public CodePageConversion {
public:
    std::set<uint16_t> missing;
    bool nt4 = false;

    bool UnitToCodePage(uint16_t unit, uint32_t, uint8_t bytes[2], int* count) const override {
        bytes[0] = uint8_t(unit);
        *count = 1;
        return missing.count(unit) == 0;
    }
    uint16_t ByteToUnit(uint8_t b, uint32_t) const override {
        if (b < 0x80)
            return b;
        if (b >= 0xA1 && b <= 0xDF)
            return uint16_t(0xFF61 + (b - 0xA1)); // half-width kana
        return 0;
    }
    bool KeepsInexpressibleUnits() const override { return nt4; }
};

std::vector<uint16_t> BuildList(std::vector<uint16_t> units,
                                const FakeConversion& conversion = {}) {
    CCodeList list;
    EXPECT_EQ(list.Setup(uint16_t(units.size()), units.data(), 932), 1);
    list.Build(conversion);
    EXPECT_EQ(list.Codes()[list.Count()], 0) << "the list ends with a zero unit";
    return std::vector<uint16_t>(list.Codes(), list.Codes() + list.Count());
}

// What the code list must equal: sorted, distinct, nothing below 0x20.
std::vector<uint16_t> Reference(std::vector<uint16_t> units) {
    std::sort(units.begin(), units.end());
    units.erase(std::unique(units.begin(), units.end()), units.end());
    units.erase(std::remove_if(units.begin(), units.end(), [](uint16_t u) { return u < 0x20; }),
                units.end());
    return units;
}

TEST(CodeList, DuplicatesAndControlCodesGo) {
    EXPECT_EQ(BuildList({'B', 'A', 'B'}), (std::vector<uint16_t>{0x41, 0x42}));
    EXPECT_TRUE(BuildList({'\r', '\n', '\t', '\r', '\n'}).empty());
    EXPECT_TRUE(BuildList({}).empty());
    EXPECT_EQ(BuildList({0x1F, 0x20, 0xFFFF, 0x20}), (std::vector<uint16_t>{0x20, 0xFFFF}));
}

TEST(CodeList, FilterDropsWhatTheCodePageCannotExpressExceptOnNt4) {
    FakeConversion conversion;
    conversion.missing = {0x4E2A};
    EXPECT_EQ(BuildList({0x4E2A, 0x65E5, 'A'}, conversion), (std::vector<uint16_t>{0x41, 0x65E5}));
    conversion.nt4 = true;
    EXPECT_EQ(BuildList({0x4E2A, 0x65E5, 'A'}, conversion),
              (std::vector<uint16_t>{0x41, 0x4E2A, 0x65E5}));
}

TEST(CodeList, SortMatchesTheReferenceForEveryShapeOfInput) {
    std::mt19937 random(20261207);
    const size_t sizes[] = {0, 1, 2, 3, 10, 11, 12, 13, 100, 1000, 4097, 65534, 65535};
    for (size_t size : sizes) {
        std::vector<std::vector<uint16_t>> inputs(6, std::vector<uint16_t>(size));
        for (size_t i = 0; i < size; ++i) {
            inputs[0][i] = uint16_t(i);                    // sorted
            inputs[1][i] = uint16_t(size - i);             // reversed
            inputs[2][i] = 0x3042;                         // all equal
            inputs[3][i] = uint16_t(random());             // random over all units
            inputs[4][i] = uint16_t(0x20 + random() % 40); // many duplicates
            inputs[5][i] = uint16_t(i % 2 ? i : size - i); // organ pipe
        }
        for (const auto& input : inputs)
            ASSERT_EQ(BuildList(input), Reference(input)) << "size " << size;
    }
}

TEST(CodeList, InputIsSortedInPlace) {
    std::vector<uint16_t> units = {'c', 'a', 'b', 'a'};
    CCodeList list;
    list.Setup(uint16_t(units.size()), units.data(), 1252);
    list.Build(FakeConversion{});
    EXPECT_EQ(units, (std::vector<uint16_t>{'a', 'a', 'b', 'c'}));
    EXPECT_EQ(list.Count(), 3);
}

TEST(CodeList, RegistrationUnitsAppendTheRangeAfterTheText) {
    FakeConversion conversion;
    auto units = CollectRegistrationUnits(u"XY", true, 0xA0, 0xA2, 932, conversion);
    ASSERT_TRUE(units);
    EXPECT_EQ(*units, (std::vector<uint16_t>{'X', 'Y', 0, 0xFF61, 0xFF62}));
    units = CollectRegistrationUnits(u"XY", false, 0x20, 0xFF, 932, conversion);
    EXPECT_EQ(*units, (std::vector<uint16_t>{'X', 'Y'}));
    // An end one below the start is an empty range.
    units = CollectRegistrationUnits(u"", true, 0x41, 0x40, 932, conversion);
    EXPECT_TRUE(units->empty());
}

TEST(CodeList, MoreThan65535UnitsAreRefusedNotWrapped) {
    FakeConversion conversion;
    const std::u16string text(65535 - 224, u'a');
    EXPECT_TRUE(CollectRegistrationUnits(text, true, 32, 255, 932, conversion));
    EXPECT_FALSE(CollectRegistrationUnits(text + u"b", true, 32, 255, 932, conversion));
    EXPECT_FALSE(
        CollectRegistrationUnits(std::u16string(65536, u'a'), false, 32, 255, 932, conversion));
}

TEST(CodeList, CharsetsChooseTheirCodePages) {
    EXPECT_EQ(CharsetToCodePage(128), 932u);
    EXPECT_EQ(CharsetToCodePage(129), 949u);
    EXPECT_EQ(CharsetToCodePage(134), 936u);
    EXPECT_EQ(CharsetToCodePage(136), 950u);
    EXPECT_EQ(CharsetToCodePage(0), 1252u);
    EXPECT_EQ(CharsetToCodePage(1), 1252u);
    EXPECT_EQ(CharsetToCodePage(255), 1252u);
}

} // namespace

namespace {

TEST(RegistrationCodes, TextAndRangeBecomeOneListOrAreRefusedWhole) {
    FakeConversion conversion;
    RegistrationCodes codes;
    ASSERT_EQ(codes.Build(u"BA\r\n", true, 0x41, 0x43, 932, conversion),
              RegistrationCodes::Outcome::Built);
    EXPECT_EQ(std::vector<uint16_t>(codes.list.Codes(), codes.list.Codes() + codes.list.Count()),
              (std::vector<uint16_t>{0x41, 0x42, 0x43}));

    RegistrationCodes tooMany;
    EXPECT_EQ(tooMany.Build(std::u16string(65535, u'a'), true, 0x20, 0x20, 932, conversion),
              RegistrationCodes::Outcome::TooManyUnits);
    EXPECT_EQ(tooMany.list.Count(), 0);
}

} // namespace
