#include "form/form_checks.h"

#include "res/resource_ids.h"

unsigned CheckRegistrationForm(const FormFields& form, RegistrationAction action) {
    if (form.regName.empty())
        return IDS_BAD_REGISTRATION_NAME;
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

std::optional<int> ParseRegistrationId(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    // Stop counting once the value is out of range for good; long digit runs
    // cannot overflow.
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= 1000)
            value = value * 10 + (text[i] - '0');
    if (negative)
        value = -value;
    if (value < 0 || value > 99)
        return std::nullopt;
    return int(value);
}

bool TakesRegistrationText(uint8_t charset) {
    constexpr uint8_t kShiftJis = 128, kHangul = 129, kGb2312 = 134, kChineseBig5 = 136;
    return charset == kShiftJis || charset == kHangul || charset == kGb2312 ||
           charset == kChineseBig5;
}
