#include "fontdata/registration_builder_checks.h"

#include "res/resource_ids.h"

unsigned CheckRegistrationForm(const RegistrationForm& form, RegistrationAction action) {
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
    if (form.textLength > limit)
        return IDS_TEXT_TOO_LARGE;
    if (form.textLength + rangeCount == 0)
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

int32_t FontHeightForPoints(int resolution, int points) {
    return -int32_t(double(resolution) * points / 72.0 + 0.5);
}
