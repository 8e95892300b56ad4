#include "printer/registration_id.h"

std::optional<int> ParseRegistrationId(const std::string& text, bool* outOfRange) {
    // Only a plain decimal number: a sign, a letter or a full-width digit
    // that a paste brings in would otherwise read as some other ID, and the
    // download would replace the font stored there.
    if (outOfRange)
        *outOfRange = false;
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(' ');
    int value = 0;
    for (size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        // Leading zeros are fine ("07"); a long number is out of range
        // whatever its value.
        if (value <= 99)
            value = value * 10 + (text[i] - '0');
    }
    if (value > 99) {
        if (outOfRange)
            *outOfRange = true;
        return std::nullopt;
    }
    return value;
}
