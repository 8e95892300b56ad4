#pragma once
// Printer replies and records for the tests, written out byte by byte.
#include <cstdio>
#include <cstring>
#include <string>

#include "scripted_link.h"

inline const Bytes kInfoRequest{0x01, 0x46, 0x47};
inline const Bytes kProceed{0x02, 0x30, 0x03};
inline const Bytes kCancel{0x02, 0x31, 0x03};
inline const Bytes kStx{0x02};
inline const Bytes kEtx{0x03};
inline const Bytes kAck{0x06};

// The 11-byte info reply: STX, code, eight digits of L, ETX.
inline Bytes InfoReply(char code, unsigned length) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08u", length);
    return Cat({Bytes{0x02, uint8_t(code)}, B(digits), Bytes{0x03}});
}

inline Bytes ShortReply(char code) {
    return Bytes{0x02, uint8_t(code), 0x03};
}

// A received information block: ID digits, name, bytes per glyph and
// character count big-endian at 56 and 60.
inline Bytes Block(const char* idDigits, const std::string& name, uint32_t bytesPerGlyph,
                   uint32_t count) {
    Bytes b(100, 0);
    b[0] = uint8_t(idDigits[0]);
    b[1] = uint8_t(idDigits[1]);
    std::memcpy(b.data() + 4, name.data(), name.size());
    for (int i = 0; i < 4; ++i) {
        b[56 + i] = uint8_t(bytesPerGlyph >> (24 - 8 * i));
        b[60 + i] = uint8_t(count >> (24 - 8 * i));
    }
    return b;
}

// count character entries: code low byte first, then four filler bytes.
inline Bytes Entries(uint32_t count, uint16_t firstCode = 0x3042) {
    Bytes all;
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t code = uint16_t(firstCode + i);
        Bytes e{uint8_t(code), uint8_t(code >> 8), 0x00, 0x18, 0x00, 0x1C};
        all.insert(all.end(), e.begin(), e.end());
    }
    return all;
}
