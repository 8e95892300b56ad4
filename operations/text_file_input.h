#pragma once
// Registration text read from a text file of at most 56320 bytes. A
// byte-order mark says what the file holds (UTF-8, UTF-16 little- or
// big-endian) and is no character; without one the Unicode check box decides
// between UTF-16 little-endian and the rest: UTF-8 when the file is valid
// UTF-8 with a character of more than one byte, else the system code page.
// Line ends stay as they are, and the text ends at its first zero, as where
// a typed NUL ends it.
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
// Whether bytes, up to a first zero, are well-formed UTF-8 holding at least
// one sequence of more than one byte: what a current editor saves without a
// mark, which a code page's text almost never is.
bool ReadsAsUtf8(const std::vector<uint8_t>& bytes);

// Why a file the Unicode box reads as UTF-16 may be something else.
enum class Utf16Doubt {
    None,
    OddLength, // UTF-16 has two bytes a unit
    ReadsAsUtf8,
};

// What a file's bytes hold, as the text-file input reads them.
struct TextFileText {
    std::u16string text;   // the text, unless codePageBytes holds it
    bool codePage = false; // no mark, no Unicode, no UTF-8: codePageBytes is the text
    std::string codePageBytes;
    bool cutAtZero = false; // a zero ended the text before the file's end
    Utf16Doubt doubt = Utf16Doubt::None;
};
TextFileText DecodeTextFile(const std::vector<uint8_t>& bytes, bool unicode);

// The characters of text, a pair of surrogates counting as one.
size_t CharacterCount(const std::u16string& text);

#ifdef _WIN32
struct TextFileResult {
    unsigned messageId = 0;   // 0, or the message that refused the file
    bool opened = false;      // false: the file could not be opened or read
    uint32_t systemError = 0; // the system's reason then (0: none given)
    std::u16string text;
    // A question to ask before the text is used (the Unicode box reads a
    // file that may not be UTF-16); 0 for none.
    unsigned doubtQuestionId = 0;
    // A zero ended the text early: the characters read before it, else 0.
    size_t charactersBeforeZero = 0;
};
// Reads path as the text-file input does (unicode: UTF-16 when the file has
// no mark, else the system's ANSI code page).
TextFileResult ReadRegistrationTextFile(const std::wstring& path, bool unicode);
#endif
