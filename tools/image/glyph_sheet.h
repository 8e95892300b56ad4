#pragma once
// A picture of glyph bitmaps on a grid, so that a person can look at what a
// registration or the printer holds. Glyphs are given in the bitmap layout
// of the download data: rows top first, ceil(width / 8) bytes a row, the most
// significant bit the leftmost dot, 1 ink.
#include <cstdint>
#include <vector>

#include "tools/image/png_writer.h"

namespace image {

// Palette indices of a sheet.
constexpr uint8_t kPaper = 0;
constexpr uint8_t kInk = 1;
constexpr uint8_t kSeparator = 2;

// Most pixels a sheet may have (one byte each while it is drawn).
constexpr uint64_t kMaxSheetPixels = 64u * 1024 * 1024;

// Draws the glyphs left to right, columns per row, each dot as scale x scale
// pixels, every cell framed by one-pixel separator lines. An image of no
// pixels when the arguments are out of range or the sheet would exceed
// kMaxSheetPixels.
IndexedImage DrawGlyphSheet(const std::vector<const uint8_t*>& glyphs, uint32_t cellWidth,
                            uint32_t cellHeight, uint32_t columns, uint32_t scale);

} // namespace image
