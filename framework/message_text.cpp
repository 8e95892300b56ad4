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

std::wstring LoadTextWith(unsigned id, std::initializer_list<std::wstring> values) {
    std::wstring text = LoadText(id);
    int number = 1;
    for (const std::wstring& value : values) {
        const std::wstring mark = L"%" + std::to_wstring(number++);
        const size_t at = text.find(mark);
        if (at != std::wstring::npos)
            text.replace(at, mark.size(), value);
    }
    return text;
}
