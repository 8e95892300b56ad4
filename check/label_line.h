#pragma once
// A line of label text as the printer would print it from a registration:
// each character's glyph in its cell, side by side at the cell's pitch, under
// a millimetre ruler, at a zoom of whole screen pixels per dot. A character
// the registration does not hold takes an empty outlined cell with its code
// under it. The composition draws any rectangle of the picture as 1-bit
// rows, for the check window and for an image file alike.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check/check_sheet.h"

struct LineCell {
    uint32_t codePoint = 0;
    size_t glyph = 0;  // index into the sheet's glyphs when held
    bool held = false; // false: an empty outlined cell
};

struct LabelLine {
    std::vector<LineCell> cells;
    // The characters not held, once each, in the order of the line.
    std::vector<uint32_t> missing;
};

// The cells of text against the registration's codes (ascending). Control
// codes are left out; a surrogate pair is one character, held when both of
// its units are, and then takes their two cells as the printer stores them.
LabelLine LabelLineOf(const std::u16string& text, const SheetGlyphs& glyphs);

// The first characters of a registration (up to maxCharacters of them) as a
// line to start from.
std::u16string FirstCharactersLine(const SheetGlyphs& glyphs, size_t maxCharacters);

class LineLayout {
public:
    static constexpr uint32_t kMargin = 4;
    static constexpr uint32_t kDigitHeight = 7;
    static constexpr uint32_t kTickHeight = 6; // a centimetre's; 5 mm 4, 1 mm 2
    static constexpr uint32_t kRulerHeight = kDigitHeight + 1 + kTickHeight + 1;
    static constexpr uint32_t kRulerGap = 3;
    static constexpr uint32_t kLabelGap = 3;

    // zoom outside 1 to 8 is taken as 1; dotsPerMm below 1 as 8.
    LineLayout(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom, int dotsPerMm);

    uint32_t Zoom() const { return m_zoom; }
    uint64_t Width() const;
    uint64_t Height() const;
    // Top-left pixel of cell k's first dot, and of the cells' row.
    uint64_t CellLeft(size_t k) const;
    uint64_t CellsTop() const { return kMargin + kRulerHeight + kRulerGap; }
    uint64_t CellWidth() const { return m_cellWidth; } // pixels
    uint64_t CellHeight() const { return m_cellHeight; }
    // The ruler's pixels per millimetre, and the millimetres it shows.
    uint64_t PixelsPerMm() const { return m_pixelsPerMm; }
    uint64_t RulerMm() const;
    // Which row of code labels cell k's code goes in (labels that would
    // overlap go one row lower), and how many rows there are.
    const std::vector<uint32_t>& LabelRows() const { return m_labelRow; }
    uint32_t LabelRowCount() const { return m_labelRows; }

private:
    size_t m_count;
    uint32_t m_zoom;
    uint64_t m_cellWidth;
    uint64_t m_cellHeight;
    uint64_t m_pixelsPerMm;
    std::vector<uint32_t> m_labelRow; // per cell; unused for held ones
    uint32_t m_labelRows = 0;
    uint64_t m_labelsRight = 0; // right end of the codes under empty cells
};

// Draws the rectangle of width x rows pixels at (left, top) of the picture
// into out, as ComposeSheet does.
void ComposeLine(const LineLayout& layout, const SheetGlyphs& glyphs, const LabelLine& line,
                 uint64_t left, uint64_t top, uint32_t width, uint32_t rows, uint8_t* out,
                 size_t stride);

// The picture as a 1-bit BMP file, the same pixels as the window's.
class LineImageWriter : public MonoImageWriter {
public:
    // glyphs must outlive the writer; line is copied.
    LineImageWriter(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom, int dotsPerMm);
    bool Fits() const override { return m_bmp.FileSize() != 0; }
    uint64_t FileSize() const override { return m_bmp.FileSize(); }
    uint64_t Written() const override { return m_bmp.Written(); }
    bool Done() const override { return m_bmp.Done(); }
    bool WriteNext(const bmp::ByteSink& sink) override;

private:
    SheetGlyphs m_glyphs;
    LabelLine m_line;
    LineLayout m_layout;
    bmp::MonoWriter m_bmp;
};

// The picture written at once through sink; false when it would be too
// large for a BMP file or the sink gave up.
bool WriteLineImage(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom, int dotsPerMm,
                    const bmp::ByteSink& sink);
