#pragma once
// What Load takes from a font data file into the settings. Portable, so the
// fuzzer and the native tests drive it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fontdata/font_data_file.h"
#include "fontdata/logfont.h"

class SettingsRecord;

struct FontDataLoad {
    unsigned messageId = 0; // 0: loaded; else the message to show
    std::u16string text;    // the records' codes in file order
};

// The message that refuses a file with this problem; 0 for none.
unsigned MessageForProblem(FontDataProblem problem);

// Load's effect on the settings: for a usable file the range, the file name
// and the header (with the settings it carries) are restored; for a refused
// version or identifier only the range and the file name; for a damaged file
// nothing. fileName is the name and extension without the folder. The names
// in the header are taken as whole characters of ansiCodePage, the code page
// they were saved in; a face name without one makes the file damaged.
FontDataLoad LoadFontDataInto(const uint8_t* data, size_t size, const std::string& fileName,
                              uint32_t ansiCodePage, SettingsRecord& doc);

// The font description of a loaded face that is not installed: the settings'
// description with the character set, pitch and family of the loaded header.
// A later build then reads the file's characters in the code page they were
// saved in.
LOGFONTA DescribeLoadedFace(const SettingsRecord& doc);
