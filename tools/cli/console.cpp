#include "tools/cli/console.h"

#include <windows.h>

#include <atomic>

#include "framework/code_page_text.h"

namespace {

std::atomic<bool> g_errLineOpen{false};

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

bool ErrIsConsole() {
    return IsConsole(STD_ERROR_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
}

} // namespace console
