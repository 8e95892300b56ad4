#pragma once
// Registration text read from a text file of at most 56320 bytes. A
// byte-order mark says what the file holds (UTF-8, UTF-16 little- or
// big-endian) and is no character; without one the Unicode check box decides
// between UTF-16 little-endian and the system code page. Line ends stay as
// they are, and the text ends at its first zero, as where a typed NUL ends it.
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
// What a file's bytes hold, as the text-file input reads them.
struct TextFileText {
    std::u16string text;   // the text, unless codePageBytes holds it
    bool codePage = false; // no mark, no Unicode: codePageBytes is the text
    std::string codePageBytes;
    bool cutAtZero = false; // a zero ended the text before the file's end
};
TextFileText DecodeTextFile(const std::vector<uint8_t>& bytes, bool unicode);

#ifdef _WIN32
struct TextFileResult {
    unsigned messageId = 0;   // 0, or the message that refused the file
    bool opened = false;      // false: the file could not be opened or read
    uint32_t systemError = 0; // the system's reason then (0: none given)
    std::u16string text;
};
// Reads path as the text-file input does (unicode: UTF-16 when the file has
// no mark, else the system's ANSI code page).
TextFileResult ReadRegistrationTextFile(const std::wstring& path, bool unicode);
#endif
