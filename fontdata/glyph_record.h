#pragma once
// The 10-byte record of one character: native form (little-endian; the
// rasteriser's table and the font data file) and wire form (what the printer
// receives: big-endian fields, the code low byte first, and for codes from
// 0x0100 up the cell's width and height instead of the character's own).
#include <cstdint>

#include "fontdata/byte_order.h"

// The most characters one registration holds: in the code list, the font
// data file and the printer's character table alike.
constexpr uint32_t kMaxRegistrationCodes = 5000;

struct GlyphRecord {
    static constexpr size_t kSize = 10;

    uint16_t code = 0;
    uint16_t leftOverhang = 0;
    uint16_t width = 0;
    uint16_t height = 0;

    static GlyphRecord FromNative(const uint8_t* p) {
        return GlyphRecord{ReadLE16(p), ReadLE16(p + 2), ReadLE16(p + 4), ReadLE16(p + 8)};
    }

    void ToNative(uint8_t* p) const {
        WriteLE16(p, code);
        WriteLE16(p + 2, leftOverhang);
        WriteLE16(p + 4, width);
        WriteLE16(p + 6, 0);
        WriteLE16(p + 8, height);
    }

    void ToWire(uint8_t* p, uint16_t cellWidth, uint16_t cellHeight) const {
        const bool oneByte = code <= 0x00FF;
        WriteLE16(p, code);
        WriteBE16(p + 2, leftOverhang);
        WriteBE16(p + 4, oneByte ? width : cellWidth);
        WriteBE16(p + 6, 0);
        WriteBE16(p + 8, oneByte ? height : cellHeight);
    }
};
