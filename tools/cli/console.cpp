#include "tools/cli/console.h"

#include <windows.h>

#include <atomic>

#include "framework/code_page_text.h"

namespace {

std::atomic<bool> g_errLineOpen{false};

// A console of the Far East draws its double-byte characters two columns
// wide; ASCII and the half-width katakana take one.
int CharacterColumns(wchar_t c) {
    return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F) ? 1 : 2;
}

// Whether a standard handle is a console, asked once per handle: a progress
// line redrawn during a transfer would ask the system twice a line.
bool IsConsole(DWORD which, HANDLE handle) {
    struct Kind {
        HANDLE handle = nullptr;
        bool console = false;
    };
    static Kind kinds[2];
    Kind& kind = kinds[which == STD_ERROR_HANDLE ? 1 : 0];
    if (kind.handle != handle) {
        DWORD mode = 0;
        kind.console = GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode);
        kind.handle = handle;
    }
    return kind.console;
}

void Write(DWORD which, const std::wstring& text) {
    HANDLE handle = GetStdHandle(which);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return;
    DWORD written = 0;
    if (IsConsole(which, handle)) {
        WriteConsoleW(handle, text.data(), DWORD(text.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = ToCodePage(text, CP_UTF8);
    WriteFile(handle, utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

} // namespace

namespace console {

void Out(const std::wstring& text) {
    Write(STD_OUTPUT_HANDLE, text);
}
void Err(const std::wstring& text) {
    if (!text.empty())
        g_errLineOpen = text.back() != L'\n';
    Write(STD_ERROR_HANDLE, text);
}

bool ErrLineOpen() {
    return g_errLineOpen;
}

int ErrColumns() {
    if (!ErrIsConsole())
        return 0;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return 0;
    return info.dwSize.X;
}

std::wstring FitColumns(const std::wstring& text, int columns) {
    int used = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        used += CharacterColumns(text[i]);
        if (used > columns)
            return text.substr(0, i);
    }
    return text;
}

int ColumnsOf(const std::wstring& text) {
    int used = 0;
    for (wchar_t c : text)
        used += CharacterColumns(c);
    return used;
}

bool ErrIsConsole() {
    return IsConsole(STD_ERROR_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
}

bool InIsConsole() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    return input != nullptr && input != INVALID_HANDLE_VALUE &&
           GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode);
}

bool AskOnConsole(const std::wstring& question) {
    Err(question + L" [y/N] ");
    wchar_t line[16] = {};
    DWORD read = 0;
    if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), line, 15, &read, nullptr))
        return false;
    return read > 0 && (line[0] == L'y' || line[0] == L'Y');
}

} // namespace console
