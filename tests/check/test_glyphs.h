#pragma once
// Glyph data for the check's tests: random bitmaps held in memory, read as
// the sheet and the label line read a registration's glyphs.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "check/check_sheet.h"

// Glyph data held in memory: count bitmaps back to back. Counts the glyphs
// asked for to be kept and those only copied.
class GlyphDataSource : public GlyphSource {
public:
    GlyphDataSource(const uint8_t* data, size_t size, uint32_t bytesPerGlyph)
        : m_data(data), m_size(size), m_bytesPerGlyph(bytesPerGlyph) {}
    const uint8_t* Glyph(size_t i) override {
        ++kept;
        return At(i);
    }
    bool CopyGlyph(size_t i, uint8_t* out, size_t bytesPerGlyph) override {
        ++copied;
        if (At(i))
            std::copy_n(At(i), bytesPerGlyph, out);
        return At(i) != nullptr;
    }
    size_t kept = 0, copied = 0;

private:
    const uint8_t* At(size_t i) const {
        if (m_bytesPerGlyph == 0 || i >= m_size / m_bytesPerGlyph)
            return nullptr;
        return m_data + i * m_bytesPerGlyph;
    }

    const uint8_t* m_data;
    size_t m_size;
    uint32_t m_bytesPerGlyph;
};

// Glyph data of count random bitmaps of a width x height cell.
struct Glyphs {
    Glyphs(uint16_t width, uint16_t height, size_t count, unsigned seed) {
        sheet.cellWidth = width;
        sheet.cellHeight = height;
        sheet.bytesPerGlyph = uint32_t((width + 7) / 8 * height);
        sheet.count = count;
        std::mt19937 random(seed);
        for (size_t i = 0; i < count; ++i)
            codes.push_back(uint16_t(0x4E00 + 7 * i));
        data.resize(count * sheet.bytesPerGlyph);
        for (size_t i = 0; i < data.size(); ++i) {
            const size_t inRow = i % sheet.bytesPerGlyph % ((width + 7) / 8);
            // Dots past the cell's width stay clear, as in real glyph data.
            const int used = std::min(8, width - int(inRow) * 8);
            data[i] = uint8_t(random() & (0xFF00 >> used));
        }
        source = std::make_unique<GlyphDataSource>(data.data(), data.size(), sheet.bytesPerGlyph);
        sheet.codes = codes.data();
        sheet.bits = source.get();
    }
    bool Dot(size_t i, uint32_t x, uint32_t y) const {
        const uint8_t* g = data.data() + i * sheet.bytesPerGlyph;
        return g[y * ((sheet.cellWidth + 7) / 8) + x / 8] & (0x80 >> (x % 8));
    }
    SheetGlyphs sheet;
    std::vector<uint16_t> codes;
    std::vector<uint8_t> data;
    std::unique_ptr<GlyphDataSource> source;
};

inline bool Pixel(const std::vector<uint8_t>& rows, size_t stride, uint64_t x, uint64_t y) {
    return rows[y * stride + x / 8] & (0x80 >> (x % 8));
}
