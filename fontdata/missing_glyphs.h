#pragma once
// The characters of a registration that a face has no glyph for. The
// rasteriser draws each of them as the face's empty box, which the printer
// then prints; the operator is told which they are.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// The codes among count codes for which font, realised in a context
// compatible with reference, has no glyph, in the order given. Empty when
// the font cannot be realised (the build reports that itself).
std::vector<uint16_t> FindMissingGlyphs(HDC reference, const LOGFONTA& font, const uint16_t* codes,
                                        size_t count);
