#pragma once
// Draws what the printer stored for one entry, every glyph in its cell on the
// shared glyph-sheet grid, so a person can check the glyphs that arrived.
#include <cstdint>
#include <string>

#include "tools/image/png_writer.h"
#include "tools/vprinter/registration_memory.h"

namespace vprinter {

// The size in dots of the cell every glyph of an entry fills.
struct GlyphCell {
    uint32_t width = 0;
    uint32_t height = 0;
};
GlyphCell EntryCell(const StoredFont& entry);

// The entry's glyphs left to right, `columns` per row, each dot drawn as
// scale x scale pixels (image::DrawGlyphSheet). An image of no pixels when the
// entry has nothing to draw or the sheet would be too large.
image::IndexedImage DrawEntry(const StoredFont& entry, uint32_t columns = 16, uint32_t scale = 1);

// Binary PBM (P4) of a picture: black where the palette colour is darker than
// mid-grey, white elsewhere. False when the picture is empty or the file
// cannot be written.
bool WritePbm(const image::IndexedImage& picture, const std::string& path);

} // namespace vprinter
