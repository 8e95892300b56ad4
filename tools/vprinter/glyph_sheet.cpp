#include "tools/vprinter/glyph_sheet.h"

#include <algorithm>
#include <cstdio>

#include "fontdata/byte_order.h"

namespace vprinter {

Sheet DrawEntry(const StoredFont& entry, int columns, int gap, int scale) {
    Sheet sheet;
    const uint32_t perGlyph = entry.BytesPerGlyph();
    const size_t count = entry.CharacterCount();
    // A font's block gives width then height; a logo's gives its vertical
    // size first.
    int w = int(entry.IsLogo() ? ReadBE16(entry.info.data() + 54) : entry.CellWidth());
    const int rowBytes = (w + 7) / 8;
    // The bitmap length decides the height: the block's size fields are the
    // sender's word, the bytes are what arrived.
    const int h = rowBytes > 0 ? int(perGlyph / uint32_t(rowBytes)) : 0;
    if (count == 0 || w <= 0 || h <= 0 || columns <= 0 || scale <= 0)
        return sheet;
    columns = int(std::min<size_t>(size_t(columns), count));
    const int rows = int((count + size_t(columns) - 1) / size_t(columns));
    const int pitchX = w + gap, pitchY = h + gap;
    sheet.width = (columns * pitchX + gap) * scale;
    sheet.height = (rows * pitchY + gap) * scale;
    sheet.dots.assign(size_t(sheet.width) * size_t(sheet.height), 0);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* glyph = entry.Glyph(i);
        const int left = gap + int(i % size_t(columns)) * pitchX;
        const int top = gap + int(i / size_t(columns)) * pitchY;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!(glyph[y * rowBytes + x / 8] & (0x80 >> (x % 8))))
                    continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx)
                        sheet.dots[size_t((top + y) * scale + sy) * size_t(sheet.width) +
                                   size_t((left + x) * scale + sx)] = 1;
            }
    }
    return sheet;
}

bool WritePbm(const Sheet& sheet, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P4\n%d %d\n", sheet.width, sheet.height);
    const int rowBytes = (sheet.width + 7) / 8;
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    for (int y = 0; y < sheet.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < sheet.width; ++x)
            if (sheet.At(x, y))
                row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        std::fwrite(row.data(), 1, row.size(), file);
    }
    const bool ok = std::ferror(file) == 0;
    return std::fclose(file) == 0 && ok;
}

} // namespace vprinter
