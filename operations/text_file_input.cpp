#include "operations/text_file_input.h"

std::u16string DecodeUtf16Text(const std::vector<uint8_t>& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const uint16_t low = bytes[i];
        const uint16_t high = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        const char16_t unit = char16_t(low | high << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

std::string AnsiTextBytes(const std::vector<uint8_t>& bytes) {
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}
