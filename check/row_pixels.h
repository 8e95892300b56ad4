#pragma once
// Drawing into one row of a 1-bit picture by picture coordinate, shared by
// the sheet and the label line: pixels outside the row's rectangle are
// dropped, and digits come from a 5 x 7 dot font of the program's own, so
// that the window and an image file hold the same pixels on every system.
#include <cstddef>
#include <cstdint>
#include <string>

class RowPixels {
public:
    static constexpr uint32_t kDigitHeight = 7;
    static constexpr uint32_t kDigitPitch = 6;

    RowPixels(uint8_t* row, uint64_t left, uint32_t width)
        : m_row(row), m_left(left), m_width(width) {}

    void Set(uint64_t x) {
        if (x < m_left || x - m_left >= m_width)
            return;
        const uint64_t d = x - m_left;
        m_row[d / 8] |= uint8_t(0x80 >> (d % 8));
    }
    void SetRun(uint64_t x, uint64_t count);
    // One dot row of a glyph (rowBytes bytes, the first dot in the top bit),
    // its first dot at x: each of the first cellWidth dots that is set is a
    // run of zoom pixels.
    void GlyphRow(uint64_t x, const uint8_t* bits, size_t rowBytes, uint64_t cellWidth,
                  uint64_t zoom) {
        for (size_t b = 0; b < rowBytes; ++b) {
            if (bits[b] == 0)
                continue;
            for (uint32_t k = 0; k < 8; ++k) {
                const uint64_t dot = b * 8 + k;
                if (dot < cellWidth && (bits[b] & (0x80 >> k)))
                    SetRun(x + dot * zoom, zoom);
            }
        }
    }
    // Every other pixel, by the pixel's place on the picture, so that a frame
    // never reads as ink.
    void SetDotted(uint64_t x, uint64_t y) {
        if ((x + y) % 2 == 0)
            Set(x);
    }
    // Row rowInDigit (0 to 6) of the hex digits of text ('0'-'9', 'A'-'F';
    // anything else is a space), the first at x.
    void Digits(uint64_t x, uint32_t rowInDigit, const std::string& text);

private:
    uint8_t* m_row;
    uint64_t m_left;
    uint32_t m_width;
};

// The code in hex digits, at least four ("00A9", "1F600").
std::string HexCode(uint32_t code);
