#pragma once
// The sheet of the registration check: every glyph of a registration as it
// will be sent, in code order, each cell under its code in four hex digits
// and inside a dotted frame, at a zoom of whole screen pixels per dot. The
// layout says where each cell lies; the composition draws any rectangle of
// the sheet as 1-bit rows, so the window paints only what is visible and the
// image file holds the same pixels.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "check/mono_bmp.h"
#include "fontdata/glyph_source.h"

// The glyphs of a registration in the bitmap layout of the glyph data: rows
// top first, ceil(cellWidth / 8) bytes a row, the most significant bit the
// leftmost dot, 1 ink.
struct SheetGlyphs {
    uint16_t cellWidth = 0;
    uint16_t cellHeight = 0;
    uint32_t bytesPerGlyph = 0;
    size_t count = 0;
    const uint16_t* codes = nullptr; // count codes
    GlyphSource* bits = nullptr;     // their bitmaps of bytesPerGlyph bytes
    // Whether the parts agree; a sheet of glyphs that do not is empty.
    bool Valid() const;
};

// The zooms the window offers, in screen pixels per dot.
constexpr uint32_t kSheetZooms[] = {1, 2, 4, 8};
// Columns of the sheet in an image file, whatever the window's width.
constexpr uint32_t kImageColumns = 16;

// The zoom a sheet opens at: the largest whose cell stays within about two
// lines of text of the screen, 1 for large cells.
uint32_t DefaultSheetZoom(uint16_t cellHeight);

class SheetLayout {
public:
    static constexpr uint32_t kMargin = 4;      // around the sheet
    static constexpr uint32_t kGap = 6;         // between cells
    static constexpr uint32_t kLabelWidth = 23; // four digits of 5 x 7
    static constexpr uint32_t kLabelHeight = 7;
    // Label, two rows of space, the frame's top line, then the glyph.
    static constexpr uint32_t kGlyphTopInCell = kLabelHeight + 3;

    // columns 0 is taken as 1; zoom outside 1 to 8 as 1.
    SheetLayout(const SheetGlyphs& glyphs, uint32_t zoom, uint32_t columns);
    // The columns that fit a window width in pixels; at least 1.
    static uint32_t ColumnsForWidth(const SheetGlyphs& glyphs, uint32_t zoom, uint64_t width);

    uint32_t Zoom() const { return m_zoom; }
    uint32_t Columns() const { return m_columns; }
    uint64_t Rows() const { return m_rows; }
    uint64_t PitchX() const { return m_pitchX; }
    uint64_t PitchY() const { return m_pitchY; }
    uint64_t Width() const;
    uint64_t Height() const;
    // Top-left pixel of glyph i's first dot.
    uint64_t GlyphLeft(size_t i) const;
    uint64_t GlyphTop(size_t i) const;
    // The row of cells that pixel row y falls in (may be past the last).
    uint64_t CellRowAt(uint64_t y) const;

private:
    size_t m_count;
    uint32_t m_zoom;
    uint32_t m_columns;
    uint64_t m_rows;
    uint64_t m_pitchX;
    uint64_t m_pitchY;
};

// Draws the rectangle of width x rows pixels at (left, top) of the sheet
// into out: rows top first, stride bytes each (at least (width + 7) / 8),
// the most significant bit leftmost, 1 ink. Everything in the rectangle is
// written; nothing outside it.
void ComposeSheet(const SheetLayout& layout, const SheetGlyphs& glyphs, uint64_t left, uint64_t top,
                  uint32_t width, uint32_t rows, uint8_t* out, size_t stride);

// The sheet as an image file: kImageColumns columns at zoom.
SheetLayout ImageLayout(const SheetGlyphs& glyphs, uint32_t zoom);
// Whether that image fits a BMP file (bmp::MonoFileSize).
bool SheetImageFits(const SheetGlyphs& glyphs, uint32_t zoom);
// A picture as a 1-bit BMP, written a part at a time (the header, then
// bands of rows), so that a window can save a large one between its
// messages.
class MonoImageWriter {
public:
    virtual ~MonoImageWriter() = default;
    // Whether the picture fits a BMP file, and the memory for it was had.
    virtual bool Fits() const = 0;
    virtual uint64_t FileSize() const = 0;
    virtual uint64_t Written() const = 0;
    virtual bool Done() const = 0;
    // Hands the next part to sink: false when the picture does not fit, is
    // done, or the sink gave up.
    virtual bool WriteNext(const bmp::ByteSink& sink) = 0;
};

// The sheet's image so. The glyphs are copied a row of cells at a time, and
// the source keeps none of them for the image's sake.
class SheetImageWriter : public MonoImageWriter {
public:
    // glyphs must outlive the writer.
    SheetImageWriter(const SheetGlyphs& glyphs, uint32_t zoom);
    ~SheetImageWriter() override;
    SheetImageWriter(const SheetImageWriter&) = delete;
    SheetImageWriter& operator=(const SheetImageWriter&) = delete;
    bool Fits() const override { return m_fits; }
    uint64_t FileSize() const override { return m_bmp.FileSize(); }
    uint64_t Written() const override { return m_bmp.Written(); }
    bool Done() const override { return m_bmp.Done(); }
    bool WriteNext(const bmp::ByteSink& sink) override;

private:
    class CellRow;

    SheetGlyphs m_glyphs; // reading the row of cells below
    SheetLayout m_layout;
    std::unique_ptr<CellRow> m_row;
    bool m_fits;
    bmp::MonoWriter m_bmp;
};

// Writes that image as a 1-bit BMP through sink; false when it does not fit
// or the sink gave up.
bool WriteSheetImage(const SheetGlyphs& glyphs, uint32_t zoom, const bmp::ByteSink& sink);
