#pragma once
// Whether a font header read from a font data file describes a registration
// this tool could have saved. Load restores the settings from the header and
// a later download sends them on, so a field the tool never writes (a point
// size of 0, an italic byte of 255, a cell that disagrees with its glyph
// size, an empty face name) must stop the file at the door rather than reach
// the printer.
#include <cstdint>

#include "fontdata/font_header.h"

constexpr int kMinPointSize = 1;
constexpr int kMaxPointSize = 72;

// True when every field that Load or a later build uses holds a value the
// tool writes, and the bodySize bytes that follow the header in the file
// hold the records and glyph data the header announces.
bool IsLoadableFontHeader(const FontHeader& header, uint64_t bodySize);
