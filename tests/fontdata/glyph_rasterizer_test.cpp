// The glyph rasteriser under Wine with the IPA fonts. Expected bitmaps come
// from a separate plain rendering into a top-down one-bit DIB section, read
// straight from its bits; expected metrics from the font's own measurements.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fontdata/byte_order.h"
#include "fontdata/glyph_rasterizer.h"
#include "framework/dc.h"
#include "res/resource_ids.h"

namespace {

// Face names in code page 932.
const char kGothic[] = "IPA\x83\x53\x83\x56\x83\x62\x83\x4e";    // IPAゴシック
const char kPGothic[] = "IPA P\x83\x53\x83\x56\x83\x62\x83\x4e"; // IPA Pゴシック

LOGFONTA Font(const char* face, int height, bool italic = false, bool bold = false) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = bold ? 700 : 400;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(lf.lfFaceName, face);
    return lf;
}

// A header as the settings record leaves it: n, italic, weight.
FontHeader SettingsHeader(uint32_t n, bool italic = false, bool bold = false) {
    FontHeader h;
    WriteLE32(h.bytes.data() + 60, n);
    h.bytes[77] = italic ? 1 : 0;
    WriteLE16(h.bytes.data() + 78, bold ? 700 : 400);
    return h;
}

// Metrics of a font measured on its own.
struct Measured {
    TEXTMETRICA tm{};
    ABC abc{};
    bool abcOk = false;
};

Measured Measure(const LOGFONTA& lf, UINT abcCode = 0) {
    Measured m;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsA(dc, &m.tm);
    if (abcCode)
        m.abcOk = GetCharABCWidthsA(dc, abcCode, abcCode, &m.abc) != 0;
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return m;
}

// ch drawn at (x, 0) into a width x height cell: rows top first, ceil(width/8)
// bytes each, most significant bit leftmost, 1 for ink.
std::vector<uint8_t> PlainGlyph(const LOGFONTA& lf, wchar_t ch, int width, int height, int x) {
    MonochromeBitmapInfo info(width, -height, RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0});
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    TextOutW(dc, x, 0, &ch, 1);
    GdiFlush();
    const size_t stride = size_t(width + 31) / 32 * 4;
    const size_t row = size_t(width + 7) / 8;
    std::vector<uint8_t> glyph(row * height, 0);
    const auto* p = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int dot = 0; dot < width; ++dot) {
            const bool white = (p[y * stride + dot / 8] >> (7 - dot % 8)) & 1;
            if (!white)
                glyph[y * row + dot / 8] |= uint8_t(0x80 >> (dot % 8));
        }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return glyph;
}

std::vector<uint8_t> GlyphOf(const CGlyphRasterizer& r, size_t i) {
    const size_t bpg = r.BytesPerGlyph();
    return std::vector<uint8_t>(r.GlyphData().begin() + i * bpg,
                                r.GlyphData().begin() + (i + 1) * bpg);
}

size_t InkCount(const std::vector<uint8_t>& glyph) {
    size_t n = 0;
    for (uint8_t b : glyph)
        for (int k = 0; k < 8; ++k)
            n += (b >> k) & 1;
    return n;
}

class GlyphRasterizerTest : public ::testing::Test {
protected:
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    ~GlyphRasterizerTest() override { DeleteDC(screen); }
};

} // namespace

TEST_F(GlyphRasterizerTest, UprightCellMetricsRecordsAndBitmapsMatchAPlainRendering) {
    const LOGFONTA lf = Font(kGothic, -28);
    // 'A', hiragana a, kanji kan, half-width katakana a.
    const uint16_t codes[] = {0x0041, 0x3042, 0x6F22, 0xFF71, 0};
    CGlyphRasterizer r;
    ASSERT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(4), codes, lf, 932));

    const Measured m = Measure(lf, 'A');
    ASSERT_TRUE(m.abcOk);
    const int W = m.tm.tmMaxCharWidth;
    const int H = m.tm.tmHeight; // 'A' has ABC spacing, so its height is the font's
    const FontHeader& h = r.Header();
    EXPECT_EQ(W, ReadLE16(h.bytes.data() + 52));
    EXPECT_EQ(H, ReadLE16(h.bytes.data() + 54));
    const uint32_t bpg = uint32_t((W + 7) / 8 * H);
    EXPECT_EQ(bpg, ReadLE32(h.bytes.data() + 56));
    EXPECT_EQ(4u * (bpg + 10), ReadLE32(h.bytes.data() + 68));
    EXPECT_EQ(m.tm.tmPitchAndFamily & 0x0F, h.bytes[74]);
    EXPECT_EQ(m.tm.tmPitchAndFamily & 0xF0, h.bytes[75]);
    EXPECT_EQ(128, h.bytes[76]);
    EXPECT_EQ(m.tm.tmAveCharWidth, ReadLE16(h.bytes.data() + 80));
    EXPECT_EQ(m.tm.tmAscent, ReadLE16(h.bytes.data() + 82));
    EXPECT_EQ(1, ReadLE16(h.bytes.data() + 138));
    EXPECT_EQ(4u, ReadLE32(h.bytes.data() + 60)); // the settings' fields stay
    EXPECT_EQ(400, ReadLE16(h.bytes.data() + 78));

    // Native record of 'A': code, overhang 0, A + B + C, 0, font height.
    const uint8_t* rec = r.RecordTable();
    const int widthA = m.abc.abcA + int(m.abc.abcB) + m.abc.abcC;
    const uint8_t expectedA[10] = {0x41, 0, 0, 0, uint8_t(widthA), 0, 0, 0, uint8_t(H), 0};
    EXPECT_EQ(0, std::memcmp(expectedA, rec, 10));
    EXPECT_EQ(0x42, rec[10]);
    EXPECT_EQ(0x30, rec[11]);

    // Half-width katakana a is 0xB1 in 932; its spacing is asked as 0xFFB1,
    // not 0x00B1. (Room for two answers: the platform may give two.)
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    ABC widened[2] = {};
    ASSERT_TRUE(GetCharABCWidthsA(dc, 0xFFB1, 0xFFB1, widened));
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    EXPECT_EQ(widened[0].abcA + int(widened[0].abcB) + widened[0].abcC,
              r.GlyphRecords().at(3).width);

    ASSERT_EQ(4 * bpg, r.GlyphData().size());
    const wchar_t chars[] = {L'A', 0x3042, 0x6F22, 0xFF71};
    for (size_t i = 0; i < 4; ++i) {
        const std::vector<uint8_t> expected = PlainGlyph(lf, chars[i], W, H, 0);
        EXPECT_GT(InkCount(expected), 10u) << i;
        EXPECT_EQ(expected, GlyphOf(r, i)) << "glyph " << i;
    }
}

TEST_F(GlyphRasterizerTest, ItalicWidensCellAverageAndEveryAdvance) {
    const uint16_t codes[] = {0x0041, 0x0057, 0x3042, 0};
    CGlyphRasterizer upright;
    ASSERT_EQ(1, upright.RenderGlyphs(screen, SettingsHeader(3), codes, Font(kGothic, -28), 932));
    CGlyphRasterizer italic;
    const LOGFONTA lf = Font(kGothic, -28, true);
    ASSERT_EQ(1, italic.RenderGlyphs(screen, SettingsHeader(3, true), codes, lf, 932));

    const Measured m = Measure(lf);
    const int H = m.tm.tmHeight;
    const int e = int(H * 0.24933); // 30 dots high: 7
    ASSERT_GT(e, 0);
    const uint8_t* uh = upright.Header().bytes.data();
    const uint8_t* ih = italic.Header().bytes.data();
    EXPECT_EQ(m.tm.tmMaxCharWidth + e, ReadLE16(ih + 52));
    EXPECT_EQ(ReadLE16(uh + 52) + e, ReadLE16(ih + 52));
    EXPECT_EQ(ReadLE16(uh + 54), ReadLE16(ih + 54));
    EXPECT_EQ(m.tm.tmAveCharWidth + e, ReadLE16(ih + 80));
    const auto up = upright.GlyphRecords();
    const auto it = italic.GlyphRecords();
    ASSERT_EQ(3u, it.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(up[i].width + e, it[i].width) << i;
        EXPECT_EQ(up[i].height, it[i].height) << i;
    }
    // The slanted 'W' is drawn like a plain italic rendering in the wider cell.
    EXPECT_EQ(PlainGlyph(lf, L'W', ReadLE16(ih + 52), H, 0), GlyphOf(italic, 1));
}

TEST_F(GlyphRasterizerTest, SeventeenDotCellKeepsThreeBytesPerRowWithTheTailClear) {
    // The height at which the face's widest character is 17 dots.
    int height = 0;
    for (int h = 8; h <= 16 && height == 0; ++h)
        if (Measure(Font(kGothic, -h)).tm.tmMaxCharWidth == 17)
            height = -h;
    ASSERT_NE(0, height) << "no IPA Gothic size with a 17-dot cell";
    const LOGFONTA lf = Font(kGothic, height);
    // Full-width characters reach the right part of the cell.
    const uint16_t codes[] = {0x25A0, 0x3042, 0x6F22, 0xFF37, 0};
    CGlyphRasterizer r;
    ASSERT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(4), codes, lf, 932));
    const int H = ReadLE16(r.Header().bytes.data() + 54);
    EXPECT_EQ(17, ReadLE16(r.Header().bytes.data() + 52));
    EXPECT_EQ(uint32_t(3 * H), ReadLE32(r.Header().bytes.data() + 56));
    for (size_t i = 0; i < 4; ++i) {
        const std::vector<uint8_t> glyph = GlyphOf(r, i);
        // Nothing of the padding survives the inversion: 1 would read as ink.
        for (int row = 0; row < H; ++row)
            EXPECT_EQ(0, glyph[row * 3 + 2] & 0x7F) << i << "/" << row;
        EXPECT_EQ(PlainGlyph(lf, wchar_t(codes[i]), 17, H, 0), glyph) << i;
    }
}

TEST_F(GlyphRasterizerTest, NegativeASpacingShiftsTheDrawingAndIsRecordedAsOverhang) {
    const LOGFONTA lf = Font(kPGothic, -28);
    const Measured m = Measure(lf, 'j');
    ASSERT_TRUE(m.abcOk);
    ASSERT_LT(m.abc.abcA, 0) << "IPA P Gothic 'j' was measured with a negative A";
    const uint16_t codes[] = {0x006A, 0};
    CGlyphRasterizer r;
    ASSERT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(1), codes, lf, 932));
    const GlyphRecord rec = r.GlyphRecords().at(0);
    EXPECT_EQ(-m.abc.abcA, rec.leftOverhang);
    EXPECT_EQ(m.abc.abcA + int(m.abc.abcB) + m.abc.abcC, rec.width);
    const uint8_t* raw = r.RecordTable();
    EXPECT_EQ(uint8_t(-m.abc.abcA), raw[2]);
    EXPECT_EQ(0, raw[3]);

    const int W = m.tm.tmMaxCharWidth;
    const int H = m.tm.tmHeight;
    const std::vector<uint8_t> shifted = PlainGlyph(lf, L'j', W, H, -m.abc.abcA);
    const std::vector<uint8_t> unshifted = PlainGlyph(lf, L'j', W, H, 0);
    ASSERT_NE(shifted, unshifted);
    EXPECT_EQ(shifted, GlyphOf(r, 0));
}

TEST_F(GlyphRasterizerTest, FirstCodeFixesTheCellHeightForAll) {
    const LOGFONTA lf = Font(kGothic, -42);
    // U+00C0 has no code in 932: the first code is measured by its drawn
    // extent, and that height holds for the kanji after it.
    const uint16_t codes[] = {0x00C0, 0x6F22, 0};
    CGlyphRasterizer r;
    ASSERT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(2), codes, lf, 932));
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    const wchar_t first = 0x00C0;
    GetTextExtentPoint32W(dc, &first, 1, &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    const int H = ReadLE16(r.Header().bytes.data() + 54);
    EXPECT_EQ(extent.cy, H);
    const int rowBytes = (ReadLE16(r.Header().bytes.data() + 52) + 7) / 8;
    EXPECT_EQ(size_t(2 * rowBytes * H), r.GlyphData().size());
    // The record of U+00C0 carries its drawn extent.
    EXPECT_EQ(extent.cx, r.GlyphRecords().at(0).width);
}

TEST_F(GlyphRasterizerTest, EmptyCodeListGivesAnEmptyCellAndNoData) {
    const uint16_t codes[] = {0};
    CGlyphRasterizer r;
    ASSERT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(0), codes, Font(kGothic, -28), 932));
    EXPECT_EQ(0u, r.CharCount());
    EXPECT_TRUE(r.GlyphData().empty());
    EXPECT_EQ(0u, ReadLE32(r.Header().bytes.data() + 68));
    EXPECT_EQ(128, r.Header().bytes[76]); // the font's own fields are still there
}

TEST_F(GlyphRasterizerTest, FaceFieldWithoutTerminatorIsCutNotOverrun) {
    LOGFONTA lf{};
    SetLogFontFaceName(&lf, std::string(40, 'x'));
    EXPECT_EQ(31u, std::strlen(lf.lfFaceName));
    // A double-byte character that would straddle byte 31 is left out whole.
    std::string face(30, 'a');
    face += "\x8a\xbf"; // kan in 932 at bytes 30-31
    SetLogFontFaceName(&lf, face);
    EXPECT_EQ(30u, std::strlen(lf.lfFaceName));
    SetLogFontFaceName(&lf, kGothic);
    EXPECT_STREQ(kGothic, lf.lfFaceName);

    // A description whose face field is full to the last byte still renders
    // (with the cut name, as a face the system substitutes).
    struct {
        LOGFONTA lf;
        char guard[16];
    } padded;
    padded.lf = Font(kGothic, -28);
    std::memset(padded.lf.lfFaceName, 'Q', LF_FACESIZE);
    std::memset(padded.guard, 'Z', sizeof padded.guard);
    const uint16_t codes[] = {0x0041, 0};
    CGlyphRasterizer r;
    EXPECT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(1), codes, padded.lf, 932));
    EXPECT_EQ(RenderFailure::None, r.Failure());
    EXPECT_EQ(1u, r.CharCount());
}

TEST_F(GlyphRasterizerTest, ReleaseFreesTheProducts) {
    const uint16_t codes[] = {0x0041, 0x0042, 0};
    CGlyphRasterizer r;
    ASSERT_EQ(1, r.RenderGlyphs(screen, SettingsHeader(2), codes, Font(kGothic, -28), 932));
    EXPECT_EQ(2u, r.CharCount());
    EXPECT_EQ(nullptr, r.GetSafeHdc()); // the context lives only within the run
    r.Release();
    EXPECT_EQ(0u, r.CharCount());
    EXPECT_TRUE(r.GlyphData().empty());
}
