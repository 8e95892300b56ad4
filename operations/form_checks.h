#pragma once
// What the main form holds when Save or Download starts, the checks both
// apply to it, the registration ID as Download reads it, and which faces take
// a registration text. Portable, so they are tested natively.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fontdata/glyph_record.h"
#include "printer/registration_id.h" // the registration ID as Download reads it

enum class RegistrationAction { Save, Download };

// The form's fields as an operation reads them.
struct FormFields {
    std::string regName;               // registration-name field, ANSI
    bool regNameExact = true;          // false: regName had to substitute a character
    std::optional<uint32_t> codeStart; // start-code field as an unsigned number; none: no number
    std::optional<uint32_t> codeEnd;   // end-code field
    bool rangeOn = true;               // one-byte code mode
    std::u16string text;               // the registration text
    std::string selectedFace;          // the font combo box's selection, ANSI
};

// Most registration-text units Save takes, and Download.
constexpr size_t kSaveTextLimit = kMaxRegistrationCodes;
constexpr size_t kDownloadTextLimit = 65535;

// 0 when the form passes, else the ID of the first failing check's message:
// IDS_BAD_REGISTRATION_NAME, IDS_REGISTRATION_NAME_UNFIT, IDS_BAD_BYTE_RANGE,
// IDS_TEXT_TOO_LARGE, IDS_NO_DATA.
unsigned CheckRegistrationForm(const FormFields& fields, RegistrationAction action);

// A size or code field's text as a number: only decimal digits, spaces
// around them allowed; nothing for anything else ("20x", "1e3", a tab, a
// sign). Values above 99999 read as 99999, outside every field's range.
std::optional<uint32_t> ParseFieldNumber(const std::string& text);

// Whether a face of this character set takes a registration text: Japanese
// (128), Korean (129), simplified (134) and traditional Chinese (136). Font
// selection and Load both ask it.
bool TakesRegistrationText(uint8_t charset);
