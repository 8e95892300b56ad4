#pragma once
// The sheet control of the registration check (window class
// "GlyphkitCheckSheet", named in the dialog's template): the glyphs laid out
// across the control's width at the chosen zoom, scrolled both ways, painting
// only what is visible.
#include <windows.h>

#include <cstdint>

#include "check/check_sheet.h"

// Registers the window class once per process; false when that failed.
bool RegisterCheckSheetClass();

// What the control shows. glyphs must outlive the control; the zoom keeps
// the first visible cell in view.
void SetCheckSheetGlyphs(HWND sheet, const SheetGlyphs& glyphs, uint32_t zoom);
void SetCheckSheetZoom(HWND sheet, uint32_t zoom);
