// The registration check's portable parts: the memory verdict after a
// listing, the characters the code page drops, the figures, and the sheet:
// every cell holds its glyph's dots exactly, a painted rectangle equals the
// same part of the whole sheet, and the BMP file holds the same pixels.
#include <gtest/gtest.h>

#include <random>

#include "check/registration_check.h"
#include "fontdata/byte_order.h"
#include "fontdata/glyph_cache.h"
#include "tests/check/test_glyphs.h"

namespace {

struct Entry {
    int id;
    uint64_t dataSize;
    uint32_t count;
};

// A listing that states the memory its entries take; none when read is false.
RegisteredData Listing(bool read, const std::vector<Entry>& entries) {
    RegisteredData data;
    if (!read)
        return data;
    ListingUpdate update;
    update.list = ListChange::Fill;
    update.memory = MemoryChange::Usage;
    for (const Entry& e : entries) {
        CFontPT record;
        record.m_nId = int16_t(e.id);
        record.m_nDataSize = e.dataSize;
        record.m_nCharCount = e.count;
        update.records.push_back(record);
        update.memoryUse += e.dataSize + 10 * e.count;
    }
    data.Apply(update);
    return data;
}

} // namespace

TEST(RegistrationCheck, MemoryVerdictAfterAListing) {
    const std::vector<Entry> big{{10, 200000, 3000}}; // 230000 bytes: 15760 free
    const struct {
        const char* what;
        bool read;
        std::vector<Entry> entries;
        std::optional<int> id;
        uint64_t bytes;
        bool fitsMemory, idHeld, fitsFree;
        uint64_t freeBytes, heldBytes, heldDataBytes; // the held entry's, and the list's figure
    } cases[] = {
        {"no listing yet", false, big, 10, 200000, true, false, false, 0, 0, 0},
        {"too large for any printer",
         false,
         {},
         std::nullopt,
         245761,
         false,
         false,
         false,
         0,
         0,
         0},
        {"exactly the whole memory", true, {}, 1, 245760, true, false, true, 245760, 0, 0},
        {"a new ID that fits", true, big, 1, 15760, true, false, true, 15760, 0, 0},
        {"a new ID that does not", true, big, 1, 15761, true, false, false, 15760, 0, 0},
        {"the ID held counts as free", true, big, 10, 200000, true, true, true, 245760, 230000,
         200000},
        {"no valid ID: a new one", true, big, std::nullopt, 20000, true, false, false, 15760, 0, 0},
        // 15560 free besides the 200 bytes of ID 3.
        {"another ID held",
         true,
         {{3, 100, 10}, big[0]},
         3,
         15700,
         true,
         true,
         true,
         15760,
         200,
         100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MemoryVerdict v = JudgeMemory(c.bytes, Listing(c.read, c.entries), c.id);
        EXPECT_EQ(v.fitsMemory, c.fitsMemory);
        EXPECT_EQ(v.listingRead, c.read);
        EXPECT_EQ(v.idHeld, c.idHeld);
        EXPECT_EQ(v.fitsFree, c.fitsFree);
        EXPECT_EQ(v.freeBytes, c.freeBytes);
        EXPECT_EQ(v.heldBytes, c.heldBytes);
        EXPECT_EQ(v.heldDataBytes, c.heldDataBytes);
    }
}

TEST(RegistrationCheck, DroppedAreTheTextsCharactersTheCodeListLeftOut) {
    const struct {
        std::u16string text;
        std::vector<uint16_t> codes;
        std::vector<uint32_t> dropped;
    } cases[] = {
        {u"AB", {0x41, 0x42}, {}},
        {u"가A가\r\n", {0x41}, {0xAC00}},                    // once, no line breaks
        {u"나가", {}, {0xAC00, 0xB098}},                     // ascending
        {u"\U00020B9F", {}, {0x20B9F}},                      // a pair is one character
        {u"\U00020B9F", {0xD842, 0xDF9F}, {}},               // kept when both units are
        {std::u16string(1, char16_t(0xD842)), {}, {0xD842}}, // a lone surrogate
    };
    for (const auto& c : cases)
        EXPECT_EQ(DroppedCharacters(c.text, c.codes), c.dropped);
    EXPECT_EQ(CharacterLine(0xAC00), u"가  U+AC00");
    EXPECT_EQ(CharacterLine(0x20B9F), u"\U00020B9F  U+20B9F");
    EXPECT_EQ(CharacterLine(0xD842), u"  U+D842");
}

TEST(RegistrationCheck, FiguresAsThePrinterCountsThem) {
    FontHeader h;
    h.SetDWord(FontHeader::kCharCount, 5000);
    h.SetDWord(FontHeader::kBytesPerGlyph, 18368); // 444 x 328 dots
    h.SetWord(FontHeader::kCellWidth, 444);
    h.SetWord(FontHeader::kCellHeight, 328);
    const RegistrationFigures f = FiguresOf(h);
    EXPECT_EQ(f.count, 5000u);
    EXPECT_EQ(f.memoryBytes, 5000u * 18378u); // beyond 32 bits of the header's field
    EXPECT_EQ(Millimetres(444, 12), "37.0");
    EXPECT_EQ(Millimetres(29, 8), "3.6"); // 3.625
    EXPECT_EQ(Millimetres(30, 8), "3.8"); // 3.75 rounds up
    EXPECT_EQ(Millimetres(30, 0), "-");
}

TEST(RegistrationCheck, EveryCellHoldsItsGlyphDotForDot) {
    const struct {
        uint16_t width, height;
        size_t count;
        uint32_t zoom, columns;
    } cases[] = {{17, 20, 7, 1, 3}, {41, 30, 5, 2, 16}, {3, 2, 4, 8, 2}, {30, 30, 1, 4, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " zoom " +
                     std::to_string(c.zoom));
        const Glyphs g(c.width, c.height, c.count, c.width);
        const SheetLayout layout(g.sheet, c.zoom, c.columns);
        const uint32_t w = uint32_t(layout.Width()), h = uint32_t(layout.Height());
        const size_t stride = (w + 7) / 8;
        std::vector<uint8_t> whole(stride * h, 0xAA);
        ComposeSheet(layout, g.sheet, 0, 0, w, h, whole.data(), stride);
        for (size_t i = 0; i < c.count; ++i)
            for (uint32_t y = 0; y < uint32_t(c.height) * c.zoom; ++y)
                for (uint32_t x = 0; x < uint32_t(c.width) * c.zoom; ++x)
                    ASSERT_EQ(Pixel(whole, stride, layout.GlyphLeft(i) + x, layout.GlyphTop(i) + y),
                              g.Dot(i, x / c.zoom, y / c.zoom))
                        << "glyph " << i << " at " << x << "," << y;

        // A painted rectangle is the same part of the sheet.
        const uint64_t left = w / 3, top = h / 4;
        const uint32_t rw = w / 2 + 1, rh = h / 2 + 1;
        const size_t rs = (rw + 31) / 32 * 4;
        std::vector<uint8_t> part(rs * rh);
        ComposeSheet(layout, g.sheet, left, top, rw, rh, part.data(), rs);
        for (uint32_t y = 0; y < rh; ++y)
            for (uint32_t x = 0; x < rw; ++x)
                ASSERT_EQ(Pixel(part, rs, x, y), Pixel(whole, stride, left + x, top + y));
    }
}

TEST(RegistrationCheck, ImageFileHoldsTheSheetBottomRowFirst) {
    const Glyphs g(13, 11, 20, 5);
    const uint32_t zoom = 2;
    std::vector<uint8_t> file;
    ASSERT_TRUE(WriteSheetImage(g.sheet, zoom, [&](const uint8_t* p, size_t n) {
        file.insert(file.end(), p, p + n);
        return true;
    }));
    const SheetLayout layout = ImageLayout(g.sheet, zoom);
    EXPECT_EQ(layout.Columns(), kImageColumns);
    const uint32_t w = uint32_t(layout.Width()), h = uint32_t(layout.Height());
    ASSERT_EQ(file.size(), 62 + bmp::MonoStride(w) * h);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(ReadLE32(&file[2]), file.size());
    EXPECT_EQ(ReadLE32(&file[18]), w);
    EXPECT_EQ(ReadLE32(&file[22]), h);
    EXPECT_EQ(ReadLE16(&file[28]), 1);           // bits per pixel
    EXPECT_EQ(ReadLE32(&file[54]), 0x00FFFFFFu); // entry 0 paper, white
    EXPECT_EQ(ReadLE32(&file[58]), 0u);          // entry 1 ink, black
    const size_t stride = (w + 7) / 8;
    std::vector<uint8_t> whole(stride * h);
    ComposeSheet(layout, g.sheet, 0, 0, w, h, whole.data(), stride);
    const std::vector<uint8_t> rows(file.begin() + 62, file.end());
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            ASSERT_EQ(Pixel(rows, bmp::MonoStride(w), x, h - 1 - y), Pixel(whole, stride, x, y))
                << x << "," << y;
    // The image copies each glyph once and asks its source to keep none.
    g.source->kept = g.source->copied = 0;
    ASSERT_TRUE(WriteSheetImage(g.sheet, zoom, [](const uint8_t*, size_t) { return true; }));
    EXPECT_EQ(g.source->kept, 0u);
    EXPECT_EQ(g.source->copied, g.sheet.count);

    // A sink that gives up stops the writing; a sheet too large for the
    // format is refused before anything is drawn or written.
    int calls = 0;
    EXPECT_FALSE(
        WriteSheetImage(g.sheet, zoom, [&](const uint8_t*, size_t) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
    GlyphDataSource nothing(nullptr, 0, 1);
    SheetGlyphs huge = g.sheet;
    huge.cellWidth = huge.cellHeight = 65535;
    huge.bytesPerGlyph = 8192u * 65535u;
    huge.count = 1;
    huge.bits = &nothing;
    EXPECT_FALSE(WriteSheetImage(huge, 8, [&](const uint8_t*, size_t) { return ++calls > 0; }));
    EXPECT_EQ(calls, 2);
}

// The window's glyphs through the cache: at most its bound of 64 MB for the
// largest registration, the glyphs used longest ago dropped and rendered
// again, each as it was; Release gives every byte back.
TEST(RegistrationCheck, KeptGlyphsStayWithinTheBoundAndComeBackWhenAskedAgain) {
    const size_t count = 5000;
    const uint32_t bytesPerGlyph = 18368; // 444 x 328 dots
    GlyphCache cache(count, bytesPerGlyph);
    size_t rendered = 0;
    const auto glyph = [&](size_t i) {
        if (const uint8_t* kept = cache.Find(i))
            return kept;
        uint8_t* made = cache.Make(i);
        if (made) {
            ++rendered;
            std::fill(made, made + bytesPerGlyph, uint8_t(i * 7 + 1));
        }
        return static_cast<const uint8_t*>(made);
    };
    const size_t room = GlyphCache::kDefaultBound / bytesPerGlyph;
    for (size_t i = 0; i < count; ++i)
        ASSERT_NE(glyph(i), nullptr);
    EXPECT_EQ(rendered, count);
    EXPECT_EQ(cache.Kept(), room);
    EXPECT_LE(cache.BytesHeld(), GlyphCache::kDefaultBound);
    EXPECT_GE(cache.BytesHeld(), room * bytesPerGlyph);

    // The last ones are still there; the first came back, rendered again.
    const struct {
        size_t glyph;
        bool renderedAgain;
    } visits[] = {{count - 1, false},    {count - room, false},    {0, true},
                  {count - room, false}, {count - room + 1, true}, {0, false}};
    for (const auto& v : visits) {
        const size_t before = rendered;
        const uint8_t* bits = glyph(v.glyph);
        ASSERT_NE(bits, nullptr);
        EXPECT_EQ(rendered - before, v.renderedAgain ? 1u : 0u) << v.glyph;
        EXPECT_EQ(bits[0], uint8_t(v.glyph * 7 + 1));
        EXPECT_EQ(bits[bytesPerGlyph - 1], uint8_t(v.glyph * 7 + 1));
        EXPECT_LE(cache.BytesHeld(), GlyphCache::kDefaultBound);
    }

    cache.Release();
    EXPECT_EQ(cache.BytesHeld(), 0u);
    EXPECT_EQ(cache.Kept(), 0u);
    EXPECT_EQ(cache.Find(0), nullptr);
    EXPECT_EQ(glyph(3)[0], uint8_t(22));
}
