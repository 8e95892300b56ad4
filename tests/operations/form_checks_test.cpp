// The form checks of Save and Download, the registration ID, the faces
// that take a registration text and the font height, against the values
// the form's messages and the printer expect.
#include <gtest/gtest.h>

#include "fontdata/font_height.h"
#include "operations/form_checks.h"
#include "res/resource_ids.h"

namespace {

FormFields Form(const char* name, std::optional<uint32_t> start, std::optional<uint32_t> end,
                bool rangeOn, size_t textLength) {
    FormFields form;
    form.regName = name;
    form.codeStart = start;
    form.codeEnd = end;
    form.rangeOn = rangeOn;
    form.text.assign(textLength, u'A');
    return form;
}

constexpr auto kSave = RegistrationAction::Save;
constexpr auto kDownload = RegistrationAction::Download;

} // namespace

TEST(RegistrationFormCheck, MessagesComeInTheFormsOrder) {
    // Everything wrong at once: the name is reported first.
    EXPECT_EQ(IDS_BAD_REGISTRATION_NAME,
              CheckRegistrationForm(Form("", {}, {}, true, 9999), kSave));
    // Then the range, before the text length and the emptiness.
    EXPECT_EQ(IDS_BAD_BYTE_RANGE, CheckRegistrationForm(Form("F", {}, 40u, true, 9999), kSave));
    EXPECT_EQ(IDS_BAD_BYTE_RANGE, CheckRegistrationForm(Form("F", 40u, {}, false, 0), kSave));
    EXPECT_EQ(IDS_TEXT_TOO_LARGE, CheckRegistrationForm(Form("F", 40u, 39u, true, 5001), kSave));
    EXPECT_EQ(IDS_NO_DATA, CheckRegistrationForm(Form("F", 40u, 39u, true, 0), kSave));
    EXPECT_EQ(0u, CheckRegistrationForm(Form("F", 32u, 255u, true, 0), kSave));
}

TEST(RegistrationFormCheck, NameFitsThirtyTwoBytesAsItWasTyped) {
    const std::string kana16(32, '\x82'); // the byte count is what matters here
    const struct {
        std::string name;
        bool exact;
        unsigned message;
    } cases[] = {{std::string(32, 'A'), true, 0u},
                 {kana16, true, 0u},
                 {std::string(33, 'A'), true, IDS_REGISTRATION_NAME_UNFIT},
                 {"??", false, IDS_REGISTRATION_NAME_UNFIT},
                 {"A\tB", true, IDS_REGISTRATION_NAME_UNFIT},
                 {"\x1b", true, IDS_REGISTRATION_NAME_UNFIT},
                 {"A\x7f", true, IDS_REGISTRATION_NAME_UNFIT},
                 {"A\r\n", true, IDS_REGISTRATION_NAME_UNFIT},
                 {"\x82\x9f\x81\x40", true, 0u}, // ぁ and a full-width space
                 {"", false, IDS_BAD_REGISTRATION_NAME}};
    for (const auto& c : cases) {
        FormFields form = Form("", 32u, 255u, true, 0);
        form.regName = c.name;
        form.regNameExact = c.exact;
        EXPECT_EQ(c.message, CheckRegistrationForm(form, kSave)) << c.name;
        EXPECT_EQ(c.message, CheckRegistrationForm(form, kDownload)) << c.name;
    }
}

TEST(RegistrationFormCheck, RangeOrderAndBounds) {
    // End one below start is an empty range; two below is wrong.
    EXPECT_EQ(IDS_NO_DATA, CheckRegistrationForm(Form("F", 40u, 39u, true, 0), kSave));
    EXPECT_EQ(IDS_BAD_BYTE_RANGE, CheckRegistrationForm(Form("F", 40u, 38u, true, 5), kSave));
    // With the range off the order does not matter, the bounds still do.
    EXPECT_EQ(0u, CheckRegistrationForm(Form("F", 40u, 38u, false, 5), kSave));
    EXPECT_EQ(IDS_BAD_BYTE_RANGE, CheckRegistrationForm(Form("F", 31u, 255u, false, 5), kSave));
    EXPECT_EQ(IDS_BAD_BYTE_RANGE, CheckRegistrationForm(Form("F", 32u, 256u, false, 5), kSave));
    EXPECT_EQ(IDS_NO_DATA, CheckRegistrationForm(Form("F", 32u, 255u, false, 0), kSave));
    // Download refuses only values above 255.
    EXPECT_EQ(0u, CheckRegistrationForm(Form("F", 0u, 31u, true, 0), kDownload));
    EXPECT_EQ(IDS_BAD_BYTE_RANGE, CheckRegistrationForm(Form("F", 0u, 256u, true, 0), kDownload));
    // A huge unsigned value does not wrap into a valid order.
    EXPECT_EQ(IDS_BAD_BYTE_RANGE,
              CheckRegistrationForm(Form("F", 0xFFFFFFFFu, 40u, true, 1), kDownload));
}

TEST(RegistrationFormCheck, TextLimitsOfSaveAndDownload) {
    EXPECT_EQ(0u, CheckRegistrationForm(Form("F", 32u, 255u, false, 5000), kSave));
    EXPECT_EQ(IDS_TEXT_TOO_LARGE, CheckRegistrationForm(Form("F", 32u, 255u, false, 5001), kSave));
    EXPECT_EQ(0u, CheckRegistrationForm(Form("F", 32u, 255u, false, 65535), kDownload));
    EXPECT_EQ(IDS_TEXT_TOO_LARGE,
              CheckRegistrationForm(Form("F", 32u, 255u, false, 65536), kDownload));
}

TEST(RegistrationId, OnlyAPlainNumberFromZeroToNinetyNine) {
    const struct {
        const char* text;
        std::optional<int> id;
    } cases[] = {{"7", 7},
                 {"0", 0},
                 {"99", 99},
                 {"07", 7},
                 {" 12 ", 12},
                 {"", {}},
                 {"  ", {}},
                 {"100", {}},
                 {"12ab", {}},
                 {"ab", {}},
                 {"1a", {}},
                 {"+7", {}},
                 {"-1", {}},
                 {"1 2", {}},
                 {"\t5", {}},
                 {"\x82\x50\x82\x51", {}},
                 {"99999999999999999999", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(c.id, ParseRegistrationId(c.text)) << c.text;
}

TEST(RegistrationText, TakenByJapaneseKoreanAndChineseFacesOnly) {
    for (int charset = 0; charset < 256; ++charset)
        EXPECT_EQ(TakesRegistrationText(uint8_t(charset)),
                  charset == 128 || charset == 129 || charset == 134 || charset == 136)
            << charset;
}

TEST(FontHeight, PointsAtThePrintersResolution) {
    EXPECT_EQ(-28, FontHeightForPoints(203, 10)); // 28.19
    EXPECT_EQ(-42, FontHeightForPoints(305, 10)); // 42.36
    EXPECT_EQ(-3, FontHeightForPoints(203, 1));   // 2.82 rounds up
    EXPECT_EQ(-4, FontHeightForPoints(305, 1));   // 4.24
    EXPECT_EQ(-203, FontHeightForPoints(203, 72));
    EXPECT_EQ(-305, FontHeightForPoints(305, 72));
    EXPECT_EQ(-11, FontHeightForPoints(203, 4)); // 11.28
}

TEST(RegistrationFormCheck, FieldNumbersArePlainDigits) {
    const struct {
        const char* text;
        std::optional<uint32_t> value;
    } cases[] = {{"24", 24u},   {" 7 ", 7u},
                 {"007", 7u},   {"20x", {}},
                 {"1e3", {}},   {"12\t", {}},
                 {"+5", {}},    {"-1", {}},
                 {"", {}},      {"  ", {}},
                 {"2 4", {}},   {"\xA3\xB1", {}},
                 {"256", 256u}, {"99999999999", 99999u}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseFieldNumber(c.text), c.value) << c.text;
    // A name of spaces alone is no name.
    EXPECT_EQ(IDS_BAD_REGISTRATION_NAME,
              CheckRegistrationForm(Form("   ", 32u, 255u, true, 1), kSave));
}
