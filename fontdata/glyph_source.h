#pragma once
// The glyph bitmaps of a registration, wherever they come from: the glyph
// data of a build or a file, or glyphs rendered only when first asked for.
#include <cstddef>
#include <cstdint>
#include <vector>

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Bitmap i (bytes per glyph bytes, rows top first), or null when there is
    // none (i past the last, or no memory to render it).
    virtual const uint8_t* Glyph(size_t i) = 0;
};

// Glyph data held in memory: count bitmaps back to back.
class GlyphDataSource : public GlyphSource {
public:
    GlyphDataSource(const uint8_t* data, size_t size, uint32_t bytesPerGlyph)
        : m_data(data), m_size(size), m_bytesPerGlyph(bytesPerGlyph) {}
    const uint8_t* Glyph(size_t i) override {
        if (m_bytesPerGlyph == 0 || i >= m_size / m_bytesPerGlyph)
            return nullptr;
        return m_data + i * m_bytesPerGlyph;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    uint32_t m_bytesPerGlyph;
};
