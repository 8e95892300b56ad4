#pragma once
// The checks that Save and Download apply to the form before a build, the
// registration ID as Download reads it, and the font height of a point size
// at the printer's resolution. Portable, so they are tested natively.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

enum class RegistrationAction { Save, Download };

// What the checks read from the form.
struct RegistrationForm {
    std::string regName;               // registration-name field
    std::optional<uint32_t> codeStart; // start-code field as an unsigned number; none: no number
    std::optional<uint32_t> codeEnd;   // end-code field
    bool rangeOn = false;              // one-byte code mode
    size_t textLength = 0;             // UTF-16 units of the registration text
};

// Most registration-text units Save takes, and Download.
constexpr size_t kSaveTextLimit = 5000;
constexpr size_t kDownloadTextLimit = 65535;

// 0 when the form passes, else the ID of the first failing check's message:
// IDS_BAD_REGISTRATION_NAME, IDS_BAD_BYTE_RANGE, IDS_TEXT_TOO_LARGE, IDS_NO_DATA.
unsigned CheckRegistrationForm(const RegistrationForm& form, RegistrationAction action);

// The registration ID typed in the form: its leading decimal digits after an
// optional sign (0 when there are none). None when the text is empty or the
// value lies outside 0 to 99.
std::optional<int> ParseRegistrationId(const std::string& text);

// Minus the character height in dots: -(int)(resolution x points / 72 + 0.5).
int32_t FontHeightForPoints(int resolution, int points);
