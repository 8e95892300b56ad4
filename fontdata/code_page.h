#pragma once
// Code pages of font character sets, and the conversions between UTF-16 and a
// code page that the code list and the rasteriser need. The conversions are
// the platform's; the portable code reaches them through CodePageConversion.
#include <cstdint>
#include <string>

constexpr uint32_t kWesternCodePage = 1252;

// 128 -> 932, 129 -> 949, 134 -> 936, 136 -> 950, anything else -> 1252.
uint32_t CharsetToCodePage(uint8_t charset);

// Whether byte begins a two-byte character of the code page: one of the
// double-byte code pages 932, 936, 949 and 950; in any other, no byte does.
bool IsLeadByte(uint8_t byte, uint32_t codePage);
// text without a lead byte at its end whose trail byte is missing.
std::string WholeCharacters(const std::string& text, uint32_t codePage);

class CodePageConversion {
public:
    virtual ~CodePageConversion() = default;
    // Converts one UTF-16 unit into at most two bytes of the code page, with no
    // substitute character given. Returns false when the conversion had to use
    // a substitute (the code page cannot express the unit).
    virtual bool UnitToCodePage(uint16_t unit, uint32_t codePage, uint8_t bytes[2],
                                int* byteCount) const = 0;
    // The first UTF-16 unit of the one-byte string b in the code page, 0 when none.
    virtual uint16_t ByteToUnit(uint8_t b, uint32_t codePage) const = 0;
    // True on the one system generation that keeps characters its code page
    // cannot express (major version 4 on the NT platform).
    virtual bool KeepsInexpressibleUnits() const = 0;
};
