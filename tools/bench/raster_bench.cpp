// raster_bench: glyphs per second of the rasteriser beside a bare GDI loop
// (one TextOutW and one GetDIBits per glyph into the same cell), measured in
// the same run on the same 5000 characters: kana, ASCII, the JIS level-1 kanji
// that IPA Gothic holds and enough level-2 kanji to make 5000. Run under Wine
// with scripts/winrun on a quiet machine: the two loops alternate and the best
// run of each counts, which keeps most of the noise of other work out.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fontdata/byte_order.h"
#include "fontdata/glyph_rasterizer.h"
#include "framework/dc.h"
#include "tools/bench/bench_clock.h"

namespace {

const char kGothic[] = "IPA\x83\x53\x83\x56\x83\x62\x83\x4e"; // IPAゴシック
constexpr size_t kCodes = 5000;

double Now() {
    return BenchSeconds();
}

LOGFONTA Font(int height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = 400;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(lf.lfFaceName, kGothic);
    return lf;
}

// Kana, ASCII and the level-1 kanji (Shift_JIS 0x889F to 0x9872) the face
// has glyphs for: about 3200 characters. Level-2 kanji (from 0x989F) fill the
// rest up to 5000, so that a build is as large as one may be.
std::vector<uint16_t> Characters(HDC screen) {
    std::vector<uint16_t> codes;
    for (uint16_t c = 0x21; c <= 0x7E; ++c)
        codes.push_back(c);
    for (uint16_t c = 0x3041; c <= 0x3093; ++c)
        codes.push_back(c);
    for (uint16_t c = 0x30A1; c <= 0x30F6; ++c)
        codes.push_back(c);
    HDC dc = CreateCompatibleDC(screen);
    LOGFONTA lf = Font(-28);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    const int leads[] = {0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x92, 0x93,
                         0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F,
                         0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA};
    for (int lead : leads)
        for (int trail = 0x40; trail <= 0xFC && codes.size() < kCodes; ++trail) {
            const int sjis = lead << 8 | trail;
            if (sjis < 0x889F || (sjis > 0x9872 && sjis < 0x989F) || trail == 0x7F)
                continue;
            const char bytes[2] = {char(lead), char(trail)};
            WCHAR unit = 0;
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, &unit, 1) != 1)
                continue;
            WORD glyph = 0xFFFF;
            if (GetGlyphIndicesW(dc, &unit, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR ||
                glyph == 0xFFFF)
                continue;
            codes.push_back(unit);
        }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    codes.push_back(0);
    return codes;
}

// The rasteriser's whole build; returns seconds and the cell it chose.
double TimeRasterizer(HDC screen, const std::vector<uint16_t>& codes, int height, SIZE* cell) {
    FontHeader header;
    WriteLE32(header.bytes.data() + FontHeader::kCharCount, uint32_t(codes.size() - 1));
    WriteLE16(header.bytes.data() + FontHeader::kWeight, 400);
    CGlyphRasterizer rasterizer;
    const double start = Now();
    const int ok = rasterizer.RenderGlyphs(screen, header, codes.data(), Font(height), 932);
    const double seconds = Now() - start;
    if (!ok)
        std::fprintf(stderr, "raster_bench: rendering failed\n");
    cell->cx = rasterizer.Header().Word(FontHeader::kCellWidth);
    cell->cy = rasterizer.Header().Word(FontHeader::kCellHeight);
    return seconds;
}

// The least a renderer must do per glyph: draw it and read the bits back.
double TimeBareLoop(HDC screen, const std::vector<uint16_t>& codes, int height, SIZE cell) {
    HDC dc = CreateCompatibleDC(screen);
    LOGFONTA lf = Font(height);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    HBITMAP bitmap = CreateBitmap(cell.cx, cell.cy, 1, 1, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    MonochromeBitmapInfo info(cell.cx, cell.cy, RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0});
    std::vector<uint8_t> bits(size_t(cell.cx + 31) / 32 * 4 * cell.cy);
    const double start = Now();
    for (size_t i = 0; i + 1 < codes.size(); ++i) {
        const WCHAR unit = codes[i];
        TextOutW(dc, 0, 0, &unit, 1);
        GetDIBits(dc, bitmap, 0, UINT(cell.cy), bits.data(), info.Get(), DIB_RGB_COLORS);
    }
    const double seconds = Now() - start;
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DeleteDC(dc);
    return seconds;
}

} // namespace

int main() {
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    const std::vector<uint16_t> codes = Characters(screen);
    const size_t n = codes.size() - 1;
    std::printf("characters: %zu\n", n);
    struct Setting {
        const char* name;
        int height;
    } settings[] = {{"10 pt / 203 dpi", -28}, {"72 pt / 305 dpi", -305}};
    for (const Setting& s : settings) {
        // Warm the font caches once, then keep the best of several runs of each.
        SIZE cell{};
        TimeRasterizer(screen, codes, s.height, &cell);
        double raster = 1e30;
        double bare = 1e30;
        const int runs = s.height > -100 ? 7 : 3;
        for (int run = 0; run < runs; ++run) {
            raster = std::min(raster, TimeRasterizer(screen, codes, s.height, &cell));
            bare = std::min(bare, TimeBareLoop(screen, codes, s.height, cell));
        }
        std::printf("%s, cell %ldx%ld: rasteriser %.0f glyphs/s, bare GDI loop %.0f glyphs/s, "
                    "ratio %.2fx\n",
                    s.name, cell.cx, cell.cy, n / raster, n / bare, raster / bare);
    }
    DeleteDC(screen);
    return 0;
}
