#include "check/label_line.h"

#include <algorithm>
#include <cstring>

#include "check/row_pixels.h"

namespace {

// The ruler numbers its centimetres in millimetres, and is never shorter
// than this, so that an empty line still shows a scale.
constexpr uint64_t kShortestRulerMm = 10;
// Pixels a code under an empty cell may reach right of the cell's left edge.
constexpr uint64_t kLabelReach = 8 * RowPixels::kDigitPitch;

bool IsHigh(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLow(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Index of code among the glyphs, if they hold it.
bool FindGlyph(const SheetGlyphs& glyphs, uint16_t code, size_t* index) {
    if (!glyphs.Valid() || glyphs.count == 0)
        return false;
    const uint16_t* end = glyphs.codes + glyphs.count;
    const uint16_t* found = std::lower_bound(glyphs.codes, end, code);
    if (found == end || *found != code)
        return false;
    *index = size_t(found - glyphs.codes);
    return true;
}

uint32_t ValidZoom(uint32_t zoom) {
    return std::find(std::begin(kSheetZooms), std::end(kSheetZooms), zoom) != std::end(kSheetZooms)
               ? zoom
               : 1;
}

uint64_t LabelWidth(uint32_t codePoint) {
    return HexCode(codePoint).size() * RowPixels::kDigitPitch - 1;
}

std::string Decimal(uint64_t value) {
    return std::to_string(value);
}

} // namespace

LabelLine LabelLineOf(const std::u16string& text, const SheetGlyphs& glyphs) {
    LabelLine line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x20)
            continue;
        std::vector<uint16_t> units{uint16_t(unit)};
        uint32_t codePoint = unit;
        if (IsHigh(unit) && i + 1 < text.size() && IsLow(text[i + 1])) {
            units.push_back(uint16_t(text[++i]));
            codePoint = 0x10000 + ((uint32_t(unit) - 0xD800) << 10) + (uint32_t(units[1]) - 0xDC00);
        }
        std::vector<size_t> found(units.size());
        bool held = true;
        for (size_t k = 0; k < units.size(); ++k)
            held = held && FindGlyph(glyphs, units[k], &found[k]);
        if (!held) {
            line.cells.push_back({codePoint, 0, false});
            if (std::find(line.missing.begin(), line.missing.end(), codePoint) ==
                line.missing.end())
                line.missing.push_back(codePoint);
            continue;
        }
        for (size_t k = 0; k < units.size(); ++k)
            line.cells.push_back({codePoint, found[k], true});
    }
    return line;
}

std::u16string FirstCharactersLine(const SheetGlyphs& glyphs, size_t maxCharacters) {
    std::u16string text;
    if (!glyphs.Valid())
        return text;
    for (size_t i = 0; i < glyphs.count && text.size() < maxCharacters; ++i) {
        const uint16_t code = glyphs.codes[i];
        // A space starts no line worth seeing; a lone half of a pair shows
        // nothing in an edit field.
        if (code > 0x20 && !IsHigh(code) && !IsLow(code))
            text += char16_t(code);
    }
    return text;
}

LineLayout::LineLayout(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom,
                       int dotsPerMm)
    : m_count(line.cells.size()), m_zoom(ValidZoom(zoom)),
      m_cellWidth(uint64_t(glyphs.Valid() ? glyphs.cellWidth : 0) * m_zoom),
      m_cellHeight(uint64_t(glyphs.Valid() ? glyphs.cellHeight : 0) * m_zoom),
      m_pixelsPerMm(uint64_t(dotsPerMm > 0 ? dotsPerMm : 8) * m_zoom), m_labelRow(m_count, 0) {
    // Codes of neighbouring empty cells narrower than their labels go on
    // rows below one another rather than over one another.
    std::vector<uint64_t> rowEnds;
    for (size_t k = 0; k < m_count; ++k) {
        if (line.cells[k].held)
            continue;
        const uint64_t left = CellLeft(k);
        uint32_t row = 0;
        while (row < rowEnds.size() && rowEnds[row] + RowPixels::kDigitPitch > left)
            ++row;
        if (row == rowEnds.size())
            rowEnds.push_back(0);
        rowEnds[row] = left + LabelWidth(line.cells[k].codePoint);
        m_labelRow[k] = row;
        m_labelsRight = std::max(m_labelsRight, rowEnds[row]);
    }
    m_labelRows = uint32_t(rowEnds.size());
}

uint64_t LineLayout::CellLeft(size_t k) const {
    return kMargin + uint64_t(k) * m_cellWidth;
}

uint64_t LineLayout::RulerMm() const {
    const uint64_t cells = uint64_t(m_count) * m_cellWidth;
    return std::max(kShortestRulerMm, (cells + m_pixelsPerMm - 1) / m_pixelsPerMm);
}

uint64_t LineLayout::Width() const {
    const uint64_t lastCentimetre = RulerMm() / 10 * 10;
    uint64_t right =
        std::max(CellLeft(m_count), kMargin + lastCentimetre * m_pixelsPerMm + 2 +
                                        Decimal(lastCentimetre).size() * RowPixels::kDigitPitch);
    right = std::max(right, kMargin + RulerMm() * m_pixelsPerMm + 1);
    // The last empty cell's code may reach past the cells.
    right = std::max(right, m_labelsRight);
    return right + kMargin;
}

uint64_t LineLayout::Height() const {
    const uint64_t labels =
        m_labelRows ? kLabelGap + m_labelRows * (kDigitHeight + 2) - 2 : uint64_t(0);
    return CellsTop() + m_cellHeight + labels + kMargin;
}

void ComposeLine(const LineLayout& layout, const SheetGlyphs& glyphs, const LabelLine& line,
                 uint64_t left, uint64_t top, uint32_t width, uint32_t rows, uint8_t* out,
                 size_t stride) {
    if (out == nullptr || width == 0 || stride < (size_t(width) + 7) / 8)
        return;
    const uint64_t m = LineLayout::kMargin;
    const uint64_t ppm = layout.PixelsPerMm();
    const uint64_t zoom = layout.Zoom();
    const uint64_t cw = layout.CellWidth();
    const uint64_t ch = layout.CellHeight();
    const uint64_t tickTop = m + LineLayout::kDigitHeight + 1;
    const uint64_t baseline = tickTop + LineLayout::kTickHeight;
    const uint64_t cellsTop = layout.CellsTop();
    const uint64_t labelsTop = cellsTop + ch + LineLayout::kLabelGap;
    const size_t rowBytes = (size_t(glyphs.cellWidth) + 7) / 8;
    const uint64_t right = left + width;
    // Only the millimetres and cells that fall in the rectangle are visited.
    const uint64_t firstMm = left > m ? (left - m) / ppm : 0;
    const uint64_t lastMm = std::min(layout.RulerMm(), right > m ? (right - m) / ppm : 0);
    const size_t count = line.cells.size();
    const size_t firstCell =
        cw && left > m ? size_t(std::min<uint64_t>((left - m) / cw, count)) : 0;
    const size_t endCell =
        cw ? size_t(std::min<uint64_t>(right > m ? (right - m + cw - 1) / cw : 0, count)) : count;

    for (uint32_t r = 0; r < rows; ++r) {
        uint8_t* row = out + size_t(r) * stride;
        std::memset(row, 0, (size_t(width) + 7) / 8);
        RowPixels pixels(row, left, width);
        const uint64_t y = top + r;
        if (y >= m && y < m + LineLayout::kDigitHeight) {
            // Numbers at whole centimetres, just right of their ticks; one
            // that starts left of the rectangle may still reach into it.
            for (uint64_t mm = (firstMm >= 30 ? firstMm - 30 : 0) / 10 * 10; mm <= lastMm; mm += 10)
                pixels.Digits(m + mm * ppm + 2, uint32_t(y - m), Decimal(mm));
        } else if (y >= tickTop && y < baseline) {
            for (uint64_t mm = firstMm; mm <= lastMm; ++mm) {
                const uint64_t tick = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
                if (y >= baseline - tick)
                    pixels.Set(m + mm * ppm);
            }
        } else if (y == baseline) {
            pixels.SetRun(m, layout.RulerMm() * ppm + 1);
        } else if (y >= cellsTop && y < cellsTop + ch) {
            const uint64_t dotRow = (y - cellsTop) / zoom;
            for (size_t k = firstCell; k < endCell; ++k) {
                const LineCell& cell = line.cells[k];
                const uint64_t x = layout.CellLeft(k);
                if (!cell.held) {
                    if (y == cellsTop || y + 1 == cellsTop + ch)
                        pixels.SetRun(x, cw);
                    pixels.Set(x);
                    pixels.Set(x + cw - 1);
                    continue;
                }
                const uint8_t* glyph = glyphs.bits->Glyph(cell.glyph);
                if (glyph == nullptr)
                    continue;
                pixels.GlyphRow(x, glyph + size_t(dotRow) * rowBytes, rowBytes, glyphs.cellWidth,
                                zoom);
            }
        } else if (y >= labelsTop) {
            const uint64_t inLabels = y - labelsTop;
            const uint32_t labelRow = uint32_t(inLabels / (LineLayout::kDigitHeight + 2));
            const uint32_t inDigit = uint32_t(inLabels % (LineLayout::kDigitHeight + 2));
            // A label may start left of the rectangle and reach into it.
            const uint64_t reach = left > m + kLabelReach ? left - m - kLabelReach : 0;
            const size_t from = cw ? size_t(std::min<uint64_t>(reach / cw, count)) : 0;
            for (size_t k = from; k < endCell; ++k)
                if (!line.cells[k].held && layout.LabelRows()[k] == labelRow)
                    pixels.Digits(layout.CellLeft(k), inDigit, HexCode(line.cells[k].codePoint));
        }
    }
}

namespace {

uint32_t FileDimension(uint64_t pixels) {
    return pixels <= 0x7FFFFFFF ? uint32_t(pixels) : 0;
}

} // namespace

LineImageWriter::LineImageWriter(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom,
                                 int dotsPerMm)
    : m_glyphs(glyphs), m_line(line), m_layout(m_glyphs, m_line, zoom, dotsPerMm),
      m_bmp(FileDimension(m_layout.Width()), FileDimension(m_layout.Height())) {}

bool LineImageWriter::WriteNext(const bmp::ByteSink& sink) {
    const uint32_t width = uint32_t(m_layout.Width());
    const size_t stride = bmp::MonoStride(width);
    const auto band = [&](uint32_t top, uint32_t count, uint8_t* rows) {
        ComposeLine(m_layout, m_glyphs, m_line, 0, top, width, count, rows, stride);
    };
    return m_bmp.WriteNext(band, sink);
}

bool WriteLineImage(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom, int dotsPerMm,
                    const bmp::ByteSink& sink) {
    LineImageWriter writer(glyphs, line, zoom, dotsPerMm);
    while (!writer.Done())
        if (!writer.WriteNext(sink))
            return false;
    return true;
}
