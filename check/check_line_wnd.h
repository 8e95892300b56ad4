#pragma once
// The label line control of the registration check (window class
// "GlyphkitCheckLine", named in the dialog's template): a line of text drawn
// from the registration's glyphs under a millimetre ruler, scrolled both
// ways, painting only what is visible.
#include <windows.h>

#include <cstdint>

#include "check/label_line.h"

// Registers the window class once per process; false when that failed.
bool RegisterCheckLineClass();

// What the control shows; glyphs must outlive the control, line is copied.
void SetCheckLine(HWND control, const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom,
                  int dotsPerMm);
