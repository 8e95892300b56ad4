// The registration check's build under Wine with the installed fonts, held to
// a Save of the same form: the same count and bytes, the same codes, each
// cell of its sheet the saved file's glyph bit for bit, the same missing
// characters; and the settings untouched, also when the checks refuse.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "check/registration_check.h"
#include "fontdata/font_data_file.h"
#include "operations/form_operations.h"
#include "recording_operator.h"
#include "res/resource_ids.h"
#include "tests/operations/installed_fonts_suite.h"

namespace {

// Records the characters a build reports the face has no glyph for.
struct MissingDisplay : FormDisplay {
    void GlyphsMissing(const std::string&, const std::vector<uint16_t>& codes) override {
        missing = codes;
    }
    std::vector<uint16_t> missing;
};

struct Case {
    const char* face; // ANSI
    std::u16string text;
    bool rangeOn;
    int points;
    bool italic;
    int resolution;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.points << " pt at " << c.resolution << " dpi";
}

class CheckBuildTest : public WithInstalledFonts<::testing::TestWithParam<Case>> {};

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_P(CheckBuildTest, FiguresCodesAndEveryCellEqualASaveOfTheSameForm) {
    const Case& c = GetParam();
    FormFields fields;
    fields.regName = "CHECK";
    fields.codeStart = 0x41;
    fields.codeEnd = 0x5A;
    fields.rangeOn = c.rangeOn;
    fields.text = c.text;
    fields.selectedFace = c.face;
    const FormEnvironment environment{s_screen, c.resolution, {}};

    SettingsRecord doc;
    doc.SetPointSize(c.points);
    doc.SetItalic(c.italic);
    RecordingOperator op;
    MissingDisplay display;
    CFormOperations form(doc, *s_fonts, op, display);
    const SettingsRecord before = doc;
    CheckedBuild checked;
    ASSERT_TRUE(form.BuildForCheck(fields, environment, &checked));
    EXPECT_TRUE(op.messages.empty());
    // Nothing of the form's settings changed.
    EXPECT_EQ(doc.GetFontHeader().bytes, before.GetFontHeader().bytes);
    EXPECT_EQ(doc.GetFaceName(), before.GetFaceName());
    EXPECT_EQ(doc.GetRegName(), before.GetRegName());

    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string kfd = std::string(dir) + "check_build_test.kfd";
    ASSERT_TRUE(
        form.SaveFontDataFile(fields, environment, [&](const std::string&) { return kfd; }));
    const std::vector<uint8_t> bytes = FileBytes(kfd);
    DeleteFileA(kfd.c_str());
    const FontDataFile file = ParseFontDataFile(bytes.data(), bytes.size());
    ASSERT_EQ(file.problem, FontDataProblem::None);
    const FontDataGlyphs saved = ReadFontDataGlyphs(file, bytes.data(), bytes.size());
    ASSERT_TRUE(saved.ok);

    const RegistrationFigures figures = FiguresOf(checked.header);
    EXPECT_EQ(figures.count, file.header.DWord(FontHeader::kCharCount));
    EXPECT_EQ(figures.memoryBytes, file.header.DWord(FontHeader::kDataSize));
    EXPECT_EQ(checked.header.bytes, file.header.bytes);
    EXPECT_EQ(checked.missing, display.missing);
    ASSERT_EQ(checked.codes.size(), file.records.size());
    for (size_t i = 0; i < file.records.size(); ++i)
        EXPECT_EQ(checked.codes[i], file.records[i].code);

    const SheetGlyphs sheet = CheckedSheet(checked);
    for (uint32_t zoom : {1u, 2u}) {
        const SheetLayout layout(sheet, zoom, 5);
        const uint32_t w = uint32_t(layout.Width()), h = uint32_t(layout.Height());
        const size_t stride = (w + 7) / 8;
        std::vector<uint8_t> pixels(stride * h);
        ComposeSheet(layout, sheet, 0, 0, w, h, pixels.data(), stride);
        const size_t rowBytes = (saved.cellWidth + 7) / 8;
        for (size_t i = 0; i < saved.glyphs.size(); ++i)
            for (uint32_t y = 0; y < saved.cellHeight * zoom; ++y)
                for (uint32_t x = 0; x < saved.cellWidth * zoom; ++x) {
                    const uint64_t px = layout.GlyphLeft(i) + x, py = layout.GlyphTop(i) + y;
                    const bool shown = pixels[py * stride + px / 8] & (0x80 >> (px % 8));
                    const uint8_t dots = saved.glyphs[i].bits[y / zoom * rowBytes + x / zoom / 8];
                    ASSERT_EQ(shown, (dots & (0x80 >> (x / zoom % 8))) != 0)
                        << "glyph " << i << " zoom " << zoom << " at " << x << "," << y;
                }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CheckBuildTest,
    ::testing::Values(
        Case{"IPA\x83\x53\x83\x56\x83\x62\x83\x4e", u"AB\u6F22\u5B57\u304B\uAC00", false, 10, false,
             203},                                                        // IPAゴシック
        Case{"IPA\x96\xBE\x92\xA9", u"\u3042g", true, 12, true, 305},     // IPA明朝
        Case{"AR PL SungtiL GB", u"\u6F22\u6C49A", false, 7, false, 203}, // 漢 missing
        Case{"IPA\x83\x53\x83\x56\x83\x62\x83\x4e", u"\r\n", false, 10, false, 203}), // none
    [](const ::testing::TestParamInfo<Case>& info) { return "Form" + std::to_string(info.index); });

TEST_F(CheckBuildTest, ARefusedFormShowsTheSaveMessageAndChangesNothing) {
    SettingsRecord doc;
    RecordingOperator op;
    FormDisplay display;
    CFormOperations form(doc, *s_fonts, op, display);
    const struct {
        const char* name;
        bool rangeOn;
        std::u16string text;
        unsigned message;
    } cases[] = {{"", false, u"A", IDS_BAD_REGISTRATION_NAME},
                 {"X", false, u"", IDS_NO_DATA},
                 {"X", false, std::u16string(5001, u'A') + u"B", 0}}; // Download's limit
    for (const auto& c : cases) {
        FormFields fields;
        fields.regName = c.name;
        fields.codeStart = 32u;
        fields.codeEnd = 255u;
        fields.rangeOn = c.rangeOn;
        fields.text = c.text;
        fields.selectedFace = "IPA\x83\x53\x83\x56\x83\x62\x83\x4e";
        op.messages.clear();
        CheckedBuild checked;
        EXPECT_EQ(form.BuildForCheck(fields, {s_screen, 203, {}}, &checked), c.message == 0);
        EXPECT_EQ(op.MessageIds(),
                  c.message ? std::vector<unsigned>{c.message} : std::vector<unsigned>{});
        EXPECT_EQ(doc.GetRegName(), "");
        EXPECT_EQ(doc.GetCharCount(), 0);
    }
}
