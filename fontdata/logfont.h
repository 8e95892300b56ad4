#pragma once
// LOGFONTA: how a chosen font family travels from the font list into the
// settings and on to the rasteriser. The platform's own on Windows; natively
// the same 60-byte layout, so the portable code can hold and copy it.
#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA layout");
#endif
