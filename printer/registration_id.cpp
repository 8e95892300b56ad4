#include "printer/registration_id.h"

#include "framework/decimal_number.h"

std::optional<int> ParseRegistrationId(const std::string& text, bool* outOfRange) {
    // Only a plain decimal number: a sign, a letter or a full-width digit
    // that a paste brings in would otherwise read as some other ID, and the
    // download would replace the font stored there.
    const DecimalRead read = ReadDecimal(text, kRegistrationIds, true);
    if (outOfRange)
        *outOfRange = read.reading == DecimalReading::OutOfRange;
    if (read.reading != DecimalReading::Number)
        return std::nullopt;
    return int(read.value);
}
