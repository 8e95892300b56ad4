#include "form/font_family_list.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Face names in code page 932, as the font list spells them on a Japanese system.
const char kIpaGothic[] = "IPA\x83\x53\x83\x56\x83\x62\x83\x4e"; // IPAゴシック
const char kIpaMincho[] = "IPA\x96\xbe\x92\xa9";                 // IPA明朝

class FontFamilyListTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        list = new CFontFamilyList(display);
    }
    static void TearDownTestSuite() {
        delete list;
        DeleteDC(display);
    }
    static std::vector<LOGFONTA> Families() {
        std::vector<LOGFONTA> families(list->Count(false));
        for (int i = 0; i < list->Count(false); ++i)
            EXPECT_TRUE(list->GetAt(i, &families[i]));
        return families;
    }
    static HDC display;
    static CFontFamilyList* list;
};
HDC FontFamilyListTest::display;
CFontFamilyList* FontFamilyListTest::list;

// Wine reports the Japanese and Korean faces first as Western; each stays in
// the list once, with the set it is made for.
TEST_F(FontFamilyListTest, EachFamilyAppearsOnceWithItsOwnCharacterSet) {
    std::map<std::string, int> seen;
    for (const LOGFONTA& family : Families())
        ++seen[family.lfFaceName];
    for (const auto& face : seen)
        EXPECT_EQ(face.second, 1) << face.first;

    const struct {
        const char* face;
        BYTE charset;
    } faces[] = {
        {kIpaGothic, SHIFTJIS_CHARSET},       {kIpaMincho, SHIFTJIS_CHARSET},
        {"NanumGothic", HANGUL_CHARSET},      {"NanumMyeongjo", HANGUL_CHARSET},
        {"AR PL SungtiL GB", GB2312_CHARSET}, {"AR PL Mingti2L Big5", CHINESEBIG5_CHARSET},
    };
    for (const auto& f : faces) {
        LOGFONTA family{};
        ASSERT_TRUE(list->Lookup(f.face, &family)) << f.face;
        EXPECT_EQ(family.lfCharSet, f.charset) << f.face;
        EXPECT_EQ(family.lfEscapement, 0);
        EXPECT_EQ(family.lfOrientation, 0);
    }
}

TEST_F(FontFamilyListTest, VerticalFamiliesAreTurnedAndTheirUprightTwinsAreNot) {
    LOGFONTA vertical{};
    ASSERT_TRUE(list->Lookup((std::string("@") + kIpaGothic).c_str(), &vertical));
    EXPECT_EQ(vertical.lfEscapement, 2700);
    EXPECT_EQ(vertical.lfOrientation, 2700);
    EXPECT_EQ(vertical.lfCharSet, SHIFTJIS_CHARSET);
    for (const LOGFONTA& family : Families())
        EXPECT_EQ(family.lfEscapement, family.lfFaceName[0] == '@' ? 2700 : 0) << family.lfFaceName;
}

TEST_F(FontFamilyListTest, RasterFamiliesAreDroppedAndEveryOtherIsKept) {
    // What the system reports, family by family, with every character set.
    struct Reported {
        std::set<std::string> raster, other;
    } reported;
    EnumFontFamiliesA(
        display, nullptr,
        [](const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM user) -> int {
            auto* r = reinterpret_cast<Reported*>(user);
            (type & RASTER_FONTTYPE ? r->raster : r->other).insert(lf->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&reported));
    std::set<std::string> listed;
    for (const LOGFONTA& family : Families())
        listed.insert(family.lfFaceName);
    for (const std::string& face : reported.raster)
        EXPECT_EQ(listed.count(face), 0u) << face;
    EXPECT_EQ(listed, reported.other);
}

TEST_F(FontFamilyListTest, FindComparesExactlyAndGetAtChecksItsIndex) {
    const int index = list->Find(kIpaGothic, false);
    ASSERT_GE(index, 0);
    LOGFONTA family{};
    ASSERT_TRUE(list->GetAt(index, &family));
    EXPECT_STREQ(family.lfFaceName, kIpaGothic);
    EXPECT_EQ(list->Find("ipa\x83\x53\x83\x56\x83\x62\x83\x4e", false), -1) << "case differs";
    EXPECT_EQ(list->Find("No Such Family", false), -1);
    EXPECT_FALSE(list->GetAt(list->Count(false), &family));
    EXPECT_FALSE(list->GetAt(-1, &family));
    EXPECT_FALSE(list->Lookup("No Such Family", &family));
}

TEST_F(FontFamilyListTest, FullNamesCoverTheTrueTypeStyles) {
    ASSERT_GT(list->Count(true), 0);
    EXPECT_GE(list->Count(true), list->Count(false) / 2);
    EXPECT_GE(list->Find(kIpaGothic, true), 0) << "a one-style family's full name is its face name";
    EXPECT_EQ(list->Find("No Such Family", true), -1);
}

// The families that the Japanese MS face names are mapped to.
TEST_F(FontFamilyListTest, TheDefaultFaceIsInstalled) {
    LOGFONTA family{};
    ASSERT_TRUE(list->Lookup("\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9", &family)); // ＭＳ 明朝
    EXPECT_EQ(family.lfCharSet, SHIFTJIS_CHARSET);
}

} // namespace
