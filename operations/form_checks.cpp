#include "operations/form_checks.h"

#include "framework/decimal_number.h"

#include <algorithm>

#include "fontdata/font_header.h"
#include "res/resource_ids.h"

namespace {

// C0 controls and DEL. No double-byte code page of the system uses these
// bytes inside a character, so the test holds for the ANSI bytes too.
bool IsControlByte(char c) {
    return uint8_t(c) < 0x20 || uint8_t(c) == 0x7F;
}

// A name of spaces alone names nothing, as an empty one.
bool IsBlank(const std::string& name) {
    return name.find_first_not_of(' ') == std::string::npos;
}

} // namespace

unsigned CheckRegistrationForm(const FormFields& form, RegistrationAction action) {
    if (IsBlank(form.regName))
        return IDS_BAD_REGISTRATION_NAME;
    // The header holds 32 bytes of the name; a name cut there, or one whose
    // characters became "?", is not the name the operator gave. Nor is a
    // control character (a pasted tab, an ESC), which no label can show.
    if (!form.regNameExact || form.regName.size() > FontHeader::kNameWidth ||
        std::any_of(form.regName.begin(), form.regName.end(), IsControlByte))
        return IDS_REGISTRATION_NAME_UNFIT;
    if (!form.codeStart || !form.codeEnd)
        return IDS_BAD_BYTE_RANGE;
    const int64_t start = *form.codeStart;
    const int64_t end = *form.codeEnd;
    // An end one below the start is an empty range, not a wrong one.
    const int64_t rangeCount = form.rangeOn ? end - start + 1 : 0;
    if (rangeCount < 0)
        return IDS_BAD_BYTE_RANGE;
    // Download lets codes below 32 through; the code list drops them anyway.
    const bool outside = action == RegistrationAction::Save
                             ? start < 32 || start > 255 || end < 32 || end > 255
                             : start > 255 || end > 255;
    if (outside)
        return IDS_BAD_BYTE_RANGE;
    const size_t limit = action == RegistrationAction::Save ? kSaveTextLimit : kDownloadTextLimit;
    if (form.text.size() > limit)
        return IDS_TEXT_TOO_LARGE;
    if (form.text.size() + rangeCount == 0)
        return IDS_NO_DATA;
    return 0;
}

bool TakesRegistrationText(uint8_t charset) {
    constexpr uint8_t kShiftJis = 128, kHangul = 129, kGb2312 = 134, kChineseBig5 = 136;
    return charset == kShiftJis || charset == kHangul || charset == kGb2312 ||
           charset == kChineseBig5;
}

std::optional<uint32_t> ParseFieldNumber(const std::string& text) {
    // What GetDlgItemInt would read of "20x" is not what the field shows.
    // A number beyond any field's range reads as the largest, which every
    // field's check refuses.
    const DecimalRead read = ReadDecimal(text, kFieldNumbers, true);
    if (read.reading == DecimalReading::NotANumber)
        return std::nullopt;
    return uint32_t(read.value > kFieldNumbers.max ? kFieldNumbers.max : read.value);
}
