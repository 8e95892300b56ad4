// The PNG writer and the glyph sheet, checked against bytes worked out by
// hand and a CRC computed here bit by bit (not through the writer's table).
#include "tools/image/glyph_sheet.h"
#include "tools/image/png_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t BitwiseCrc(const uint8_t* p, size_t n) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

struct Chunk {
    std::string type;
    Bytes data;
};

// Splits a PNG into chunks, checking the signature and every CRC on the way.
std::vector<Chunk> Chunks(const Bytes& png) {
    std::vector<Chunk> chunks;
    const Bytes signature{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), signature);
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = Be32(&png[at]);
        EXPECT_LE(at + 12 + length, png.size());
        if (at + 12 + length > png.size())
            break;
        EXPECT_EQ(Be32(&png[at + 8 + length]), BitwiseCrc(&png[at + 4], 4 + length))
            << "chunk at " << at;
        chunks.push_back({std::string(png.begin() + at + 4, png.begin() + at + 8),
                          Bytes(png.begin() + at + 8, png.begin() + at + 8 + length)});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

TEST(PngChecksums, MatchTheirPublishedCheckValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(image::Crc32(reinterpret_cast<const uint8_t*>(digits.data()), 9), 0xCBF43926u);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(image::Adler32(reinterpret_cast<const uint8_t*>(wiki.data()), 9), 0x11E60398u);
}

TEST(PngWriter, TinyGlyphGivesTheHandBuiltFile) {
    // A 3 x 2 glyph: row 0 ink . ink, row 1 . ink .
    image::IndexedImage glyph(3, 2, {{255, 255, 255}, {0, 0, 0}});
    glyph.Set(0, 0, 1);
    glyph.Set(2, 0, 1);
    glyph.Set(1, 1, 1);
    const Bytes png = image::EncodePng(glyph);
    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    // Width 3, height 2, 1 bit, palette colour, deflate, no filter method 0, no interlace.
    EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 3, 0, 0, 0, 2, 1, 3, 0, 0, 0}));
    EXPECT_EQ(chunks[1].type, "PLTE");
    EXPECT_EQ(chunks[1].data, (Bytes{255, 255, 255, 0, 0, 0}));
    EXPECT_EQ(chunks[2].type, "IDAT");
    // zlib header, one final stored block of 4 bytes (LEN 4, NLEN ~4), the
    // rows (filter 0, then 101 and 010 packed from the top bit), Adler-32:
    // a = 1 + 0xA0 + 0x40 = 0xE1, b = 1 + 0xA1 + 0xA1 + 0xE1 = 0x224.
    EXPECT_EQ(chunks[2].data, (Bytes{0x78, 0x01, 0x01, 0x04, 0x00, 0xFB, 0xFF, 0x00, 0xA0, 0x00,
                                     0x40, 0x02, 0x24, 0x00, 0xE1}));
    EXPECT_EQ(chunks[3].type, "IEND");
    EXPECT_TRUE(chunks[3].data.empty());
    EXPECT_EQ(Bytes(png.end() - 4, png.end()), (Bytes{0xAE, 0x42, 0x60, 0x82}));
}

TEST(PngWriter, LargeImageSplitsIntoStoredBlocksOfAtMost65535) {
    // 600 x 600 with three colours: 2 bits a pixel, 150 bytes a row plus the
    // filter byte, 90600 bytes in all: two stored blocks.
    image::IndexedImage picture(600, 600, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}});
    for (uint32_t y = 0; y < 600; ++y)
        for (uint32_t x = 0; x < 600; ++x)
            picture.Set(x, y, uint8_t((x + y) % 3));
    const std::vector<Chunk> chunks = Chunks(image::EncodePng(picture));
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].data[8], 2); // bit depth
    const Bytes& z = chunks[2].data;
    ASSERT_EQ(Bytes(z.begin(), z.begin() + 2), (Bytes{0x78, 0x01}));
    Bytes raw;
    size_t at = 2;
    int blocks = 0;
    for (bool last = false; !last; ++blocks) {
        ASSERT_LE(at + 5, z.size());
        last = z[at] == 1;
        EXPECT_TRUE(z[at] == 0 || z[at] == 1);
        const size_t length = z[at + 1] | z[at + 2] << 8;
        EXPECT_EQ(length ^ 0xFFFF, size_t(z[at + 3] | z[at + 4] << 8));
        EXPECT_LE(length, 65535u);
        ASSERT_LE(at + 5 + length, z.size());
        raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + length);
        at += 5 + length;
    }
    EXPECT_EQ(blocks, 2); // 600 x 151 = 90600 bytes
    ASSERT_EQ(at + 4, z.size());
    ASSERT_EQ(raw.size(), 600u * 151);
    // Row 1 starts with filter 0, then pixels 1,2,0,1 -> 01 10 00 01.
    EXPECT_EQ(raw[151], 0);
    EXPECT_EQ(raw[152], 0x61);
    // Adler-32 computed here the slow way.
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(Be32(&z[at]), b << 16 | a);
}

TEST(PngWriter, RefusesWhatItCannotWrite) {
    EXPECT_TRUE(image::EncodePng(image::IndexedImage(0, 5, {{0, 0, 0}})).empty());
    EXPECT_TRUE(image::EncodePng(image::IndexedImage(2, 2, {})).empty());
    image::IndexedImage beyond(2, 2, {{0, 0, 0}, {9, 9, 9}});
    beyond.Set(1, 1, 2); // no third colour
    EXPECT_TRUE(image::EncodePng(beyond).empty());
}

TEST(GlyphSheet, PlacesCellsBetweenSeparatorsAtTheScale) {
    // Two 3 x 2 glyphs (rows of one byte): "101/010" and "001/100".
    const uint8_t first[] = {0xA0, 0x40};
    const uint8_t second[] = {0x20, 0x80};
    const image::IndexedImage sheet = image::DrawGlyphSheet({first, second}, 3, 2, 2, 2);
    // 2 cells of 6 pixels and 3 lines across; 1 row of 4 pixels and 2 lines down.
    ASSERT_EQ(sheet.width, 15u);
    ASSERT_EQ(sheet.height, 6u);
    const char* expected[] = {
        "SSSSSSSSSSSSSSS", //
        "S##..##S....##S", //
        "S##..##S....##S", //
        "S..##..S##....S", //
        "S..##..S##....S", //
        "SSSSSSSSSSSSSSS",
    };
    for (uint32_t y = 0; y < 6; ++y)
        for (uint32_t x = 0; x < 15; ++x) {
            const char c = expected[y][x];
            const uint8_t want = c == 'S'   ? image::kSeparator
                                 : c == '#' ? image::kInk
                                            : image::kPaper;
            EXPECT_EQ(sheet.At(x, y), want) << x << "," << y;
        }
}

TEST(GlyphSheet, WrapsRowsAndRefusesOversizedSheets) {
    const uint8_t dot[] = {0x80};
    const image::IndexedImage sheet = image::DrawGlyphSheet({dot, dot, dot}, 1, 1, 2, 1);
    EXPECT_EQ(sheet.width, 5u);  // 2 cells across
    EXPECT_EQ(sheet.height, 5u); // 2 rows
    EXPECT_EQ(sheet.At(1, 3), image::kInk);
    EXPECT_EQ(sheet.At(3, 3), image::kPaper); // no third glyph's neighbour
    EXPECT_EQ(image::DrawGlyphSheet({dot}, 1, 1, 0, 1).width, 0u);
    EXPECT_EQ(image::DrawGlyphSheet({dot}, 9000, 9000, 1, 1).width, 0u);
}

} // namespace
