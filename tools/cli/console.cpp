#include "tools/cli/console.h"

#include <windows.h>

namespace {

void Write(DWORD which, const std::wstring& text) {
    HANDLE handle = GetStdHandle(which);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.data(), DWORD(text.size()), &written, nullptr);
        return;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &utf8[0], size, nullptr,
                        nullptr);
    WriteFile(handle, utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

} // namespace

namespace console {

void Out(const std::wstring& text) {
    Write(STD_OUTPUT_HANDLE, text);
}
void Err(const std::wstring& text) {
    Write(STD_ERROR_HANDLE, text);
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty())
        return L"";
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], size);
    return wide;
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty())
        return "";
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), &ansi[0], size, nullptr, nullptr);
    return ansi;
}

} // namespace console
