#include "tools/vprinter/glyph_sheet.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "fontdata/byte_order.h"
#include "tools/image/glyph_sheet.h"

namespace vprinter {

GlyphCell EntryCell(const StoredFont& entry) {
    GlyphCell cell;
    // A font's block gives width then height; a logo's gives its vertical
    // size first.
    cell.width = entry.IsLogo() ? ReadBE16(entry.info.data() + 54) : entry.CellWidth();
    const uint32_t rowBytes = (cell.width + 7) / 8;
    // The bitmap length decides the height: the block's size fields are the
    // sender's word, the bytes are what arrived.
    cell.height = rowBytes > 0 ? entry.BytesPerGlyph() / rowBytes : 0;
    return cell;
}

image::IndexedImage DrawEntry(const StoredFont& entry, uint32_t columns, uint32_t scale) {
    const GlyphCell cell = EntryCell(entry);
    const uint64_t count = entry.CharacterCount();
    // A sheet of empty frames would only hide that nothing arrived; glyph
    // data shorter than the records promise would be read past its end.
    if (count == 0 || cell.width == 0 || cell.height == 0 ||
        entry.glyphs.size() < count * entry.BytesPerGlyph())
        return {};
    std::vector<const uint8_t*> glyphs;
    for (size_t i = 0; i < count; ++i)
        glyphs.push_back(entry.Glyph(i));
    return image::DrawGlyphSheet(glyphs, cell.width, cell.height, columns, scale);
}

bool WritePbm(const image::IndexedImage& picture, const std::string& path) {
    if (picture.pixels.empty())
        return false;
    // PBM knows only black and white: ink is dark, paper and the light cell
    // lines become white, so the glyphs read as the printer would print them.
    std::vector<bool> black;
    for (const image::Rgb& c : picture.palette)
        black.push_back(c.r * 299 + c.g * 587 + c.b * 114 < 128 * 1000);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P4\n%u %u\n", picture.width, picture.height);
    std::vector<uint8_t> row((picture.width + 7) / 8);
    for (uint32_t y = 0; y < picture.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint8_t index = picture.At(x, y);
            if (index < black.size() && black[index])
                row[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    const bool ok = std::ferror(file) == 0;
    return std::fclose(file) == 0 && ok;
}

} // namespace vprinter
