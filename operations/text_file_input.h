#pragma once
// Registration text read from a text file: at most 56320 bytes, in the
// system code page or UTF-16 little-endian. The bytes are taken as they are
// (no byte-order mark removed, line ends unchanged) up to the first zero.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kMaxTextFileBytes = 56320;

// UTF-16 little-endian bytes as units; an odd last byte counts as a unit of
// its own (its high byte is the first of the two terminating zeros).
std::u16string DecodeUtf16Text(const std::vector<uint8_t>& bytes);

// The code-page bytes the text takes from a file: those before the first
// zero, as the control would take them.
std::string AnsiTextBytes(const std::vector<uint8_t>& bytes);

#ifdef _WIN32
struct TextFileResult {
    unsigned messageId = 0;   // 0, or the size message
    bool opened = false;      // false: the file could not be opened or read
    uint32_t systemError = 0; // the system's reason then (0: none given)
    std::u16string text;
};
// Reads path as the text-file input does (unicode: UTF-16, else the system's
// ANSI code page).
TextFileResult ReadRegistrationTextFile(const std::wstring& path, bool unicode);
#endif
