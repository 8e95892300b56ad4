#pragma once
// The registration check's sheet saved as a 1-bit BMP file, for the window's
// 画像として保存 and the console tool's check --image.
#include <cstdint>
#include <string>

#include "form/check_sheet.h"

enum class SheetImageResult { Saved, TooLarge, WriteFailed };

// Writes the image of the sheet at zoom to path. After WriteFailed,
// systemError holds the system's reason and no partial file is left.
SheetImageResult SaveSheetImage(const std::wstring& path, const SheetGlyphs& glyphs, uint32_t zoom,
                                uint32_t* systemError);
