#include "tools/image/glyph_sheet.h"

#include <algorithm>

namespace image {

IndexedImage DrawGlyphSheet(const std::vector<const uint8_t*>& glyphs, uint32_t cellWidth,
                            uint32_t cellHeight, uint32_t columns, uint32_t scale) {
    if (columns == 0 || scale == 0 || cellWidth > 0xFFFF || cellHeight > 0xFFFF || scale > 64)
        return {};
    const uint64_t count = glyphs.size();
    const uint64_t across = std::min<uint64_t>(columns, count);
    const uint64_t down = (count + columns - 1) / columns;
    const uint64_t pitchX = uint64_t(cellWidth) * scale + 1;
    const uint64_t pitchY = uint64_t(cellHeight) * scale + 1;
    // One separator line before every cell and one after the last.
    const uint64_t width = across * pitchX + 1;
    const uint64_t height = down * pitchY + 1;
    if (width * height > kMaxSheetPixels)
        return {};

    IndexedImage sheet(uint32_t(width), uint32_t(height),
                       {{255, 255, 255}, {0, 0, 0}, {170, 170, 210}}, kPaper);
    for (uint64_t x = 0; x < width; x += pitchX)
        for (uint64_t y = 0; y < height; ++y)
            sheet.Set(uint32_t(x), uint32_t(y), kSeparator);
    for (uint64_t y = 0; y < height; y += pitchY)
        for (uint64_t x = 0; x < width; ++x)
            sheet.Set(uint32_t(x), uint32_t(y), kSeparator);

    const size_t rowBytes = (size_t(cellWidth) + 7) / 8;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const uint8_t* bits = glyphs[i];
        if (bits == nullptr)
            continue;
        const uint64_t left = (i % columns) * pitchX + 1;
        const uint64_t top = (i / columns) * pitchY + 1;
        for (uint32_t y = 0; y < cellHeight; ++y)
            for (uint32_t x = 0; x < cellWidth; ++x) {
                if (!(bits[y * rowBytes + x / 8] & (0x80 >> (x % 8))))
                    continue;
                for (uint32_t sy = 0; sy < scale; ++sy)
                    for (uint32_t sx = 0; sx < scale; ++sx)
                        sheet.Set(uint32_t(left + uint64_t(x) * scale + sx),
                                  uint32_t(top + uint64_t(y) * scale + sy), kInk);
            }
    }
    return sheet;
}

} // namespace image
