#include "framework/message_text.h"

#include <windows.h>

std::wstring LoadText(unsigned id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource.
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return L"";
    return std::wstring(text, length);
}

std::wstring LoadTextAbout(unsigned id, const std::wstring& subject) {
    std::wstring text = LoadText(id);
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos)
        text.replace(at, 2, subject);
    return text;
}
