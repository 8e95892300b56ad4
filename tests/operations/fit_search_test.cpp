// The check's largest fitting size under Wine with the installed fonts: for
// a table of character sets, faces, styles and the three models, the
// bisection over the check's build finds what a scan of all 72 sizes finds,
// for an empty printer and for smaller free memories.
#include <windows.h>

#include <gtest/gtest.h>

#include "check/size_fit.h"
#include "operations/registration_fit.h"
#include "operations/settings_record.h"
#include "printer/text_formats.h"
#include "tests/operations/installed_fonts_suite.h"

namespace {

std::u16string CodeRun(char16_t first, char16_t last) {
    std::u16string text;
    for (char16_t c = first; c <= last; ++c)
        text += c;
    return text;
}

std::string Ansi(const std::u16string& face) {
    char bytes[64] = {};
    WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t*>(face.c_str()), -1, bytes,
                        sizeof bytes - 1, nullptr, nullptr);
    return bytes;
}

struct CharacterSet {
    const char* name;
    std::u16string text; // empty: the one-byte range 0x20-0x7E
    std::vector<std::u16string> faces;
};

class FitSearchTest : public WithInstalledFonts<::testing::Test> {};

} // namespace

TEST_F(FitSearchTest, BisectionEqualsAScanOfAllSizes) {
    const std::vector<CharacterSet> sets = {
        {"one-byte range",
         u"",
         {u"Liberation Sans", u"DejaVu Serif", u"DejaVu Sans Mono", u"Nimbus Roman", u"URW Bookman",
          u"Droid Sans Fallback", u"IPAゴシック"}},
        {"kana", CodeRun(0x3041, 0x3093) + CodeRun(0x30A1, 0x30F6), {u"IPAゴシック", u"IPA明朝"}},
        {"300 kanji",
         CodeRun(0x4E00, 0x4E00 + 299),
         {u"IPAゴシック", u"IPA明朝", u"IPA Pゴシック"}},
        {"5000 kanji", CodeRun(0x4E00, 0x4E00 + 4999), {u"IPAゴシック", u"IPA P明朝"}},
        {"hangul", CodeRun(0xAC00, 0xAC00 + 1999), {u"NanumGothic", u"NanumMyeongjo"}},
        {"hanzi", CodeRun(0x4E00, 0x4E00 + 999), {u"AR PL SungtiL GB"}},
    };
    const struct {
        const char* name;
        int resolution;
    } models[] = {{"QC150", 203}, {"QW300", 203}, {"QW400", 305}};
    const uint64_t limits[] = {kPrinterMemoryBytes, 100000, 12000};
    int dips = 0;
    for (const CharacterSet& set : sets)
        for (const std::u16string& face : set.faces)
            for (int style = 0; style < 4; ++style)
                for (const auto& model : models) {
                    SCOPED_TRACE(std::string(set.name) + ", style " + std::to_string(style) + ", " +
                                 model.name + ", face " + Ansi(face));
                    FormFields fields;
                    fields.regName = "FIT";
                    fields.codeStart = 0x20;
                    fields.codeEnd = 0x7E;
                    fields.rangeOn = set.text.empty();
                    fields.text = set.text;
                    fields.selectedFace = Ansi(face);
                    LOGFONTA installed{};
                    ASSERT_TRUE(s_fonts->Lookup(fields.selectedFace.c_str(), &installed));
                    SettingsRecord settings;
                    settings.SetBold(style & 1);
                    settings.SetItalic(style & 2);
                    const FormEnvironment environment{s_screen, model.resolution, {}};
                    const MemoryAtSize memoryAt =
                        FormMemoryAtSize(settings, *s_fonts, fields, environment);
                    std::vector<std::optional<uint64_t>> scanned(kLargestPointSize + 1);
                    for (int p = kSmallestPointSize; p <= kLargestPointSize; ++p) {
                        scanned[p] = memoryAt(p);
                        ASSERT_TRUE(scanned[p]) << p << " pt";
                        dips += p > 1 && *scanned[p] < *scanned[p - 1];
                    }
                    for (uint64_t limit : limits) {
                        int largest = 0;
                        for (int p = kSmallestPointSize; p <= kLargestPointSize; ++p)
                            if (*scanned[p] <= limit)
                                largest = p;
                        MemoryVerdict verdict;
                        verdict.listingRead = true;
                        verdict.freeBytes = limit;
                        const SizeFit fit = FindFittingSizes(memoryAt, verdict);
                        EXPECT_EQ(fit.free, largest) << "within " << limit;
                        if (limit == kPrinterMemoryBytes) {
                            EXPECT_EQ(fit.empty, largest);
                        }
                    }
                }
    // Where a larger size needs less memory than the one below it; the
    // search finds the same answers there too.
    std::printf("sizes needing less memory than the size below: %d\n", dips);
}
