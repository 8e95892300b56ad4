#pragma once
// The glyph bitmaps of a registration as the registration check's sheet
// reads them, wherever they come from (in the program, glyphs rendered only
// when first asked for).
#include <cstddef>
#include <cstdint>

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Bitmap i (bytes per glyph bytes, rows top first), or null when there is
    // none (i past the last, or no memory to render it).
    virtual const uint8_t* Glyph(size_t i) = 0;
};
