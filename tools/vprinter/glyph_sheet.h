#pragma once
// Draws what the printer stored for one entry, every glyph in its cell on a
// grid, so a person can check the glyphs that arrived.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/vprinter/registration_memory.h"

namespace vprinter {

// A one-bit picture, one byte per dot (1 ink, 0 paper).
struct Sheet {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;
    uint8_t At(int x, int y) const { return dots[size_t(y) * size_t(width) + size_t(x)]; }
};

// Glyphs left to right, `columns` per row, `gap` dots of paper around each
// cell, each dot drawn as scale x scale.
Sheet DrawEntry(const StoredFont& entry, int columns = 16, int gap = 4, int scale = 1);

// Binary PBM (P4); false when the file cannot be written.
bool WritePbm(const Sheet& sheet, const std::string& path);

} // namespace vprinter
