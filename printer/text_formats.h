#pragma once
// How Glyphkit writes a character code, a COM port, a registration ID and the
// printer's registration memory: in the window, in the console tool and in
// the names it gives the system. Char: char or wchar_t.
#include <cstdint>
#include <cstdio>
#include <string>

// The printer's registration memory.
constexpr int kPrinterMemoryKilobytes = 240;
constexpr uint64_t kPrinterMemoryBytes = uint64_t(kPrinterMemoryKilobytes) * 1024;

namespace text_formats {

template <class Char> std::basic_string<Char> Widened(const char* text) {
    return std::basic_string<Char>(text, text + std::char_traits<char>::length(text));
}

} // namespace text_formats

// "U+3042"
template <class Char = char> std::basic_string<Char> CodePointText(uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", unsigned(code));
    return text_formats::Widened<Char>(text);
}

// "COM3"
template <class Char = char> std::basic_string<Char> ComPortName(int port) {
    char text[16];
    std::snprintf(text, sizeof text, "COM%d", port);
    return text_formats::Widened<Char>(text);
}

// "07": the two digits of a registration ID
template <class Char = char> std::basic_string<Char> RegistrationIdDigits(int id) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", id);
    return text_formats::Widened<Char>(text);
}

// "ID07"
template <class Char = char> std::basic_string<Char> RegistrationIdText(int id) {
    return text_formats::Widened<Char>("ID") + RegistrationIdDigits<Char>(id);
}

// "240 KB"
template <class Char = char> std::basic_string<Char> PrinterMemoryText() {
    char text[16];
    std::snprintf(text, sizeof text, "%d KB", kPrinterMemoryKilobytes);
    return text_formats::Widened<Char>(text);
}
