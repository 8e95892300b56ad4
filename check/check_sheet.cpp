#include "check/check_sheet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "check/row_pixels.h"

namespace {

size_t RowBytes(uint16_t cellWidth) {
    return (size_t(cellWidth) + 7) / 8;
}

uint32_t ValidZoom(uint32_t zoom) {
    return std::find(std::begin(kSheetZooms), std::end(kSheetZooms), zoom) != std::end(kSheetZooms)
               ? zoom
               : 1;
}

uint64_t PitchXOf(uint16_t cellWidth, uint32_t zoom) {
    return std::max<uint64_t>(uint64_t(cellWidth) * zoom + 2, SheetLayout::kLabelWidth) +
           SheetLayout::kGap;
}

} // namespace

bool SheetGlyphs::Valid() const {
    if (count == 0)
        return true;
    return codes != nullptr && bits != nullptr &&
           uint64_t(bytesPerGlyph) >= uint64_t(RowBytes(cellWidth)) * cellHeight;
}

uint32_t DefaultSheetZoom(uint16_t cellHeight) {
    for (auto zoom = std::rbegin(kSheetZooms); zoom != std::rend(kSheetZooms); ++zoom)
        if (uint64_t(cellHeight) * *zoom <= 64)
            return *zoom;
    return 1;
}

SheetLayout::SheetLayout(const SheetGlyphs& glyphs, uint32_t zoom, uint32_t columns)
    : m_count(glyphs.Valid() ? glyphs.count : 0), m_zoom(ValidZoom(zoom)),
      m_columns(uint32_t(std::clamp<uint64_t>(columns, 1, std::max<size_t>(m_count, 1)))),
      m_rows((m_count + m_columns - 1) / m_columns), m_pitchX(PitchXOf(glyphs.cellWidth, m_zoom)),
      m_pitchY(kGlyphTopInCell + uint64_t(glyphs.cellHeight) * m_zoom + 1 + kGap) {}

uint32_t SheetLayout::ColumnsForWidth(const SheetGlyphs& glyphs, uint32_t zoom, uint64_t width) {
    const uint64_t usable = width > 2 * kMargin ? width - 2 * kMargin + kGap : 0;
    const uint64_t columns = usable / PitchXOf(glyphs.cellWidth, ValidZoom(zoom));
    return uint32_t(std::clamp<uint64_t>(columns, 1, 0xFFFFFFFF));
}

uint64_t SheetLayout::Width() const {
    return 2 * kMargin + (m_count ? m_columns * m_pitchX - kGap : 0);
}

uint64_t SheetLayout::Height() const {
    return 2 * kMargin + (m_rows ? m_rows * m_pitchY - kGap : 0);
}

uint64_t SheetLayout::GlyphLeft(size_t i) const {
    return kMargin + (i % m_columns) * m_pitchX + 1;
}

uint64_t SheetLayout::GlyphTop(size_t i) const {
    return kMargin + (i / m_columns) * m_pitchY + kGlyphTopInCell;
}

uint64_t SheetLayout::CellRowAt(uint64_t y) const {
    return y < kMargin ? 0 : (y - kMargin) / m_pitchY;
}

void ComposeSheet(const SheetLayout& layout, const SheetGlyphs& glyphs, uint64_t left, uint64_t top,
                  uint32_t width, uint32_t rows, uint8_t* out, size_t stride) {
    if (out == nullptr || width == 0 || stride < (size_t(width) + 7) / 8)
        return;
    const bool valid = glyphs.Valid();
    const size_t count = valid ? glyphs.count : 0;
    const uint64_t zoom = layout.Zoom();
    const uint64_t glyphWidth = uint64_t(glyphs.cellWidth) * zoom;
    const uint64_t glyphHeight = uint64_t(glyphs.cellHeight) * zoom;
    const size_t rowBytes = RowBytes(glyphs.cellWidth);
    const uint64_t right = left + width;
    const uint64_t m = SheetLayout::kMargin;

    for (uint32_t r = 0; r < rows; ++r) {
        uint8_t* row = out + size_t(r) * stride;
        std::memset(row, 0, (size_t(width) + 7) / 8);
        const uint64_t y = top + r;
        if (count == 0 || y < m || right <= m)
            continue;
        const uint64_t cellRow = (y - m) / layout.PitchY();
        const uint64_t inCell = (y - m) % layout.PitchY();
        if (cellRow >= layout.Rows())
            continue;
        RowPixels pixels(row, left, width);
        const uint64_t firstColumn = left > m ? (left - m) / layout.PitchX() : 0;
        const uint64_t lastColumn =
            std::min<uint64_t>(layout.Columns() - 1, (right - 1 - m) / layout.PitchX());
        for (uint64_t column = firstColumn; column <= lastColumn; ++column) {
            const uint64_t i = cellRow * layout.Columns() + column;
            if (i >= count)
                break;
            const uint64_t cellLeft = m + column * layout.PitchX();
            if (inCell < SheetLayout::kLabelHeight) {
                pixels.Digits(cellLeft, uint32_t(inCell), HexCode(glyphs.codes[i]));
                continue;
            }
            const uint64_t frameTop = SheetLayout::kGlyphTopInCell - 1;
            const uint64_t frameBottom = SheetLayout::kGlyphTopInCell + glyphHeight;
            if (inCell == frameTop || inCell == frameBottom) {
                for (uint64_t x = cellLeft; x <= cellLeft + glyphWidth + 1; ++x)
                    pixels.SetDotted(x, y);
                continue;
            }
            if (inCell < SheetLayout::kGlyphTopInCell || inCell > frameBottom)
                continue;
            pixels.SetDotted(cellLeft, y);
            pixels.SetDotted(cellLeft + glyphWidth + 1, y);
            const uint8_t* glyph = glyphs.bits->Glyph(size_t(i));
            if (glyph == nullptr)
                continue;
            const uint64_t dotRow = (inCell - SheetLayout::kGlyphTopInCell) / zoom;
            pixels.GlyphRow(cellLeft + 1, glyph + size_t(dotRow) * rowBytes, rowBytes,
                            glyphs.cellWidth, zoom);
        }
    }
}

SheetLayout ImageLayout(const SheetGlyphs& glyphs, uint32_t zoom) {
    return SheetLayout(glyphs, zoom, kImageColumns);
}

bool SheetImageFits(const SheetGlyphs& glyphs, uint32_t zoom) {
    const SheetLayout layout = ImageLayout(glyphs, zoom);
    return layout.Width() <= 0x7FFFFFFF && layout.Height() <= 0x7FFFFFFF &&
           bmp::MonoFileSize(uint32_t(layout.Width()), uint32_t(layout.Height())) != 0;
}

// The glyphs of one row of cells of the image, copied from the sheet's
// source when the composition reaches that row.
class SheetImageWriter::CellRow : public GlyphSource {
public:
    CellRow(const SheetGlyphs& glyphs, uint32_t columns)
        : m_source(glyphs.bits), m_count(glyphs.Valid() ? glyphs.count : 0),
          m_bytesPerGlyph(glyphs.bytesPerGlyph), m_columns(columns), m_present(columns, false),
          m_bits(new (std::nothrow) uint8_t[size_t(columns) * glyphs.bytesPerGlyph + 1]) {}

    bool Ok() const { return m_bits != nullptr; }

    const uint8_t* Glyph(size_t i) override {
        if (i >= m_count || m_columns == 0 || !m_bits)
            return nullptr;
        const size_t first = i - i % m_columns;
        if (first != m_first) {
            m_first = first;
            for (size_t k = 0; k < m_columns; ++k)
                m_present[k] =
                    first + k < m_count && m_source->CopyGlyph(first + k, At(k), m_bytesPerGlyph);
        }
        return m_present[i - first] ? At(i - first) : nullptr;
    }

private:
    uint8_t* At(size_t k) { return m_bits.get() + k * m_bytesPerGlyph; }

    GlyphSource* m_source;
    size_t m_count;
    size_t m_bytesPerGlyph;
    size_t m_columns;
    size_t m_first = SIZE_MAX;
    std::vector<bool> m_present;
    std::unique_ptr<uint8_t[]> m_bits;
};

SheetImageWriter::SheetImageWriter(const SheetGlyphs& glyphs, uint32_t zoom)
    : m_glyphs(glyphs), m_layout(ImageLayout(glyphs, zoom)),
      // No room for glyphs of an image that is not written.
      m_row(
          std::make_unique<CellRow>(glyphs, SheetImageFits(glyphs, zoom) ? m_layout.Columns() : 0)),
      m_fits(SheetImageFits(glyphs, zoom) && m_row->Ok()),
      m_bmp(m_fits ? uint32_t(m_layout.Width()) : 0, m_fits ? uint32_t(m_layout.Height()) : 0) {
    if (m_glyphs.Valid())
        m_glyphs.bits = m_row.get();
}

SheetImageWriter::~SheetImageWriter() = default;

bool SheetImageWriter::WriteNext(const bmp::ByteSink& sink) {
    if (!m_fits)
        return false;
    const uint32_t width = uint32_t(m_layout.Width());
    const size_t stride = bmp::MonoStride(width);
    // Row by row from the bottom up, as the file goes: each row of cells is
    // reached once, and its glyphs are copied once.
    const auto band = [&](uint32_t top, uint32_t count, uint8_t* rows) {
        for (uint32_t r = count; r-- > 0;)
            ComposeSheet(m_layout, m_glyphs, 0, top + r, width, 1, rows + size_t(r) * stride,
                         stride);
    };
    return m_bmp.WriteNext(band, sink);
}

bool WriteSheetImage(const SheetGlyphs& glyphs, uint32_t zoom, const bmp::ByteSink& sink) {
    SheetImageWriter writer(glyphs, zoom);
    while (!writer.Done())
        if (!writer.WriteNext(sink))
            return false;
    return true;
}
