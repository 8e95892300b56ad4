#pragma once
// One reading of a decimal number as the operator writes it, wherever one is
// written: a field of the form or the batch window (as the field shows it),
// an option of the console tool, a printer list's COM port, a plan's ID.
// Only ASCII digits count, leading zeros included; a sign, a letter or a
// second number is no number, so that nothing is read as another value than
// the one shown.
#include <cstdint>
#include <optional>
#include <string_view>

struct DecimalRange {
    int64_t min;
    int64_t max;
};

// The ranges the tool reads numbers in.
constexpr DecimalRange kRegistrationIds{0, 99};
constexpr DecimalRange kComPortNumbers{1, 20};
constexpr DecimalRange kTcpPortNumbers{1, 65535};
// A field's number before the field's own check: large enough for any.
constexpr DecimalRange kFieldNumbers{0, 99999};

enum class DecimalReading { Number, NotANumber, OutOfRange };

struct DecimalRead {
    DecimalReading reading = DecimalReading::NotANumber;
    // Number: the value. OutOfRange: the digits' value, held at range.max + 1
    // when larger.
    int64_t value = 0;
};

// Reads text as one number of range; spaces: whether spaces around it are
// allowed (a field's text).
inline DecimalRead ReadDecimal(std::string_view text, DecimalRange range, bool spaces = false) {
    if (spaces) {
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return {};
        text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
    if (text.empty())
        return {};
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return {};
        // Held just past the range: a long number is out of range whatever
        // its digits.
        value = value > range.max ? range.max + 1 : value * 10 + (c - '0');
    }
    if (value > range.max)
        return {DecimalReading::OutOfRange, range.max + 1};
    if (value < range.min)
        return {DecimalReading::OutOfRange, value};
    return {DecimalReading::Number, value};
}

// The number, or nothing for anything else.
inline std::optional<int64_t> DecimalIn(std::string_view text, DecimalRange range,
                                        bool spaces = false) {
    const DecimalRead read = ReadDecimal(text, range, spaces);
    if (read.reading != DecimalReading::Number)
        return std::nullopt;
    return read.value;
}
