// The check's answers, portable parts: the bisection's largest fitting size
// equals a scan of every size, also where the memory dips at a larger size;
// the label line holds the sheet's glyphs dot for dot, side by side at the
// cell's pitch, under a ruler in millimetres, with outlined empty cells
// named by their codes; its image file holds the same pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "check/label_line.h"
#include "check/size_fit.h"
#include "fontdata/byte_order.h"
#include "tests/check/test_glyphs.h"

namespace {

int Scan(const MemoryAtSize& memoryAt, uint64_t limit) {
    int largest = 0;
    for (int points = kSmallestPointSize; points <= kLargestPointSize; ++points)
        if (const auto bytes = memoryAt(points); bytes && *bytes <= limit)
            largest = points;
    return largest;
}

} // namespace

TEST(CheckAnswers, BisectionFindsWhatAScanOfEverySizeFinds) {
    // Memory as a registration of n characters needs it: a cell growing with
    // the size, with dips where hinting makes a cell smaller, and sizes that
    // cannot be built.
    const struct {
        const char* name;
        MemoryAtSize memoryAt;
    } shapes[] = {
        {"growing", [](int p) { return uint64_t(300 * (p * p + 10)); }},
        {"steps", [](int p) { return uint64_t(5000 * ((p * 3 + 7) / 8) * (p * 3) + 50000); }},
        // 31 and 32 points a little smaller than 30.
        {"dip", [](int p) { return uint64_t(p == 31   ? 179000
                                            : p == 32 ? 179500
                                                      : 200 * p * p); }},
        {"dip two above a failing size",
         [](int p) { return uint64_t(p == 42 ? 100 * 40 * 40 : 100 * p * p); }},
        {"unbuildable sizes",
         [](int p) {
             return p % 7 == 0 ? std::nullopt : std::optional<uint64_t>(90 * uint64_t(p) * p);
         }},
        {"flat", [](int) { return uint64_t(240000); }},
    };
    for (const auto& shape : shapes)
        for (uint64_t limit : {uint64_t(0), uint64_t(5000), uint64_t(120000), uint64_t(160000),
                               uint64_t(179400), uint64_t(245760), uint64_t(1) << 40}) {
            SCOPED_TRACE(std::string(shape.name) + " within " + std::to_string(limit));
            SizeFitSearch search(shape.memoryAt);
            EXPECT_EQ(search.Largest(limit), Scan(shape.memoryAt, limit));
            // A search, not a scan: a bisection and the few sizes above.
            EXPECT_LE(search.Builds(), 16u);
        }
}

TEST(CheckAnswers, EmptyAndFreeAnswersShareTheirBuilds) {
    size_t calls = 0;
    const MemoryAtSize memoryAt = [&](int p) {
        ++calls;
        return uint64_t(1000 * p * p);
    };
    MemoryVerdict verdict;
    EXPECT_EQ(FindFittingSizes(memoryAt, verdict).empty, 15);
    EXPECT_FALSE(FindFittingSizes(memoryAt, verdict).free);
    verdict.listingRead = true;
    verdict.freeBytes = 100000;
    calls = 0;
    const SizeFit fit = FindFittingSizes(memoryAt, verdict);
    EXPECT_EQ(fit.empty, 15);
    EXPECT_EQ(fit.free, 10);
    EXPECT_LE(calls, 20u);
}

TEST(CheckAnswers, LineIsTheSheetsGlyphsSideBySideUnderAMillimetreRuler) {
    const struct {
        uint16_t width, height;
        uint32_t zoom;
        int dotsPerMm;
    } cases[] = {{17, 20, 1, 8}, {24, 24, 2, 8}, {3, 2, 8, 12}, {41, 30, 4, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " zoom " +
                     std::to_string(c.zoom));
        const Glyphs g(c.width, c.height, 6, c.width + c.zoom);
        // Held, held twice, not held (twice, named once), a control code.
        const std::u16string text = {
            char16_t(g.codes[2]), char16_t(g.codes[0]), u'A', char16_t(g.codes[2]), u'\t', u'A',
            char16_t(g.codes[5])};
        const LabelLine line = LabelLineOf(text, g.sheet);
        ASSERT_EQ(line.cells.size(), 6u);
        EXPECT_EQ(line.missing, std::vector<uint32_t>{u'A'});
        const LineLayout layout(g.sheet, line, c.zoom, c.dotsPerMm);
        const uint32_t w = uint32_t(layout.Width()), h = uint32_t(layout.Height());
        const size_t stride = (w + 7) / 8;
        std::vector<uint8_t> whole(stride * h, 0xAA);
        ComposeLine(layout, g.sheet, line, 0, 0, w, h, whole.data(), stride);
        for (size_t k = 0; k < line.cells.size(); ++k) {
            EXPECT_EQ(layout.CellLeft(k), LineLayout::kMargin + k * c.width * c.zoom);
            for (uint32_t y = 0; y < uint32_t(c.height) * c.zoom; ++y)
                for (uint32_t x = 0; x < uint32_t(c.width) * c.zoom; ++x) {
                    const bool ink =
                        Pixel(whole, stride, layout.CellLeft(k) + x, layout.CellsTop() + y);
                    if (line.cells[k].held)
                        ASSERT_EQ(ink, g.Dot(line.cells[k].glyph, x / c.zoom, y / c.zoom))
                            << "cell " << k << " at " << x << "," << y;
                    else // outlined, empty inside
                        ASSERT_EQ(ink, x == 0 || y == 0 || x + 1 == c.width * c.zoom ||
                                           y + 1 == c.height * c.zoom)
                            << "empty cell " << k << " at " << x << "," << y;
                }
        }
        // A tick on the ruler's baseline row above every millimetre.
        const uint64_t tickRow = LineLayout::kMargin + LineLayout::kRulerHeight - 2;
        for (uint64_t mm = 0; mm <= layout.RulerMm(); ++mm)
            EXPECT_TRUE(
                Pixel(whole, stride, LineLayout::kMargin + mm * c.dotsPerMm * c.zoom, tickRow))
                << mm << " mm";
        EXPECT_FALSE(
            Pixel(whole, stride, LineLayout::kMargin + c.dotsPerMm * c.zoom / 2 + 1, tickRow));
        // A painted rectangle is the same part of the picture.
        const uint64_t left = w / 3, top = h / 4;
        const uint32_t rw = w / 2 + 1, rh = h / 2 + 1;
        const size_t rs = (rw + 31) / 32 * 4;
        std::vector<uint8_t> part(rs * rh);
        ComposeLine(layout, g.sheet, line, left, top, rw, rh, part.data(), rs);
        for (uint32_t y = 0; y < rh; ++y)
            for (uint32_t x = 0; x < rw; ++x)
                ASSERT_EQ(Pixel(part, rs, x, y), Pixel(whole, stride, left + x, top + y));

        // The image file holds the same pixels, bottom row first.
        std::vector<uint8_t> file;
        ASSERT_TRUE(
            WriteLineImage(g.sheet, line, c.zoom, c.dotsPerMm, [&](const uint8_t* p, size_t n) {
                file.insert(file.end(), p, p + n);
                return true;
            }));
        ASSERT_EQ(file.size(), 62 + bmp::MonoStride(w) * h);
        EXPECT_EQ(ReadLE32(&file[18]), w);
        const std::vector<uint8_t> rows(file.begin() + 62, file.end());
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                ASSERT_EQ(Pixel(rows, bmp::MonoStride(w), x, h - 1 - y),
                          Pixel(whole, stride, x, y));
    }
}

TEST(CheckAnswers, PairsOfSurrogatesAndTheFirstCharacters) {
    Glyphs g(8, 8, 3, 1);
    g.codes = {0x20, 0xD842, 0xDFB7}; // a space and the two halves of U+20BB7
    g.sheet.codes = g.codes.data();
    const LabelLine held = LabelLineOf(u"\U00020BB7 \U00020BB8", g.sheet);
    ASSERT_EQ(held.cells.size(), 4u); // both halves, the space, one empty cell
    EXPECT_EQ(held.cells[0].glyph, 1u);
    EXPECT_EQ(held.cells[1].glyph, 2u);
    EXPECT_EQ(held.missing, std::vector<uint32_t>{0x20BB8});
    // No space and no lone half starts the line a check opens with.
    EXPECT_EQ(FirstCharactersLine(g.sheet, 12), u"");
    const Glyphs kanji(8, 8, 20, 2);
    EXPECT_EQ(FirstCharactersLine(kanji.sheet, 3),
              (std::u16string{char16_t(kanji.codes[0]), char16_t(kanji.codes[1]),
                              char16_t(kanji.codes[2])}));
}

TEST(CheckAnswers, CodesOfNeighbouringEmptyCellsGoOnRowsOfTheirOwn) {
    const Glyphs g(6, 6, 1, 3); // cells narrower than a code's four digits
    const LabelLine line = LabelLineOf(u"ABCDE", g.sheet);
    const LineLayout layout(g.sheet, line, 1, 8);
    EXPECT_GT(layout.LabelRowCount(), 1u);
    for (size_t k = 1; k < line.cells.size(); ++k)
        EXPECT_NE(layout.LabelRows()[k], layout.LabelRows()[k - 1]);
    EXPECT_EQ(layout.Height(), layout.CellsTop() + 6 + LineLayout::kLabelGap +
                                   layout.LabelRowCount() * 9 - 2 + LineLayout::kMargin);
}
