#pragma once
// The glyph bitmaps of a registration as the registration check's sheet
// reads them, wherever they come from (in the program, glyphs rendered only
// when first asked for).
#include <cstddef>
#include <cstdint>
#include <cstring>

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Bitmap i (bytes per glyph bytes, rows top first), or null when there is
    // none (i past the last, or no memory to render it). It holds until the
    // next call.
    virtual const uint8_t* Glyph(size_t i) = 0;
    // Bitmap i copied into out without keeping it for later: a pass over
    // every glyph leaves what a window keeps for its view as it was. False
    // when there is none.
    virtual bool CopyGlyph(size_t i, uint8_t* out, size_t bytesPerGlyph) {
        const uint8_t* glyph = Glyph(i);
        if (glyph != nullptr)
            std::memcpy(out, glyph, bytesPerGlyph);
        return glyph != nullptr;
    }
};
