#include "framework/message_text.h"

#include <windows.h>

#include "framework/code_page_text.h"
#include "res/resource_ids.h"

std::wstring LoadText(unsigned id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource.
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return L"";
    return std::wstring(text, length);
}

int ResultMessageBox(HWND owner, const std::wstring& text, UINT flags) {
    return MessageBoxW(owner, text.c_str(), LoadText(IDS_RESULT_CAPTION).c_str(), flags);
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

std::wstring DetailText(unsigned id, const std::vector<std::string>& values) {
    std::wstring text = LoadText(id);
    for (size_t i = 0; i < values.size(); ++i) {
        const std::wstring mark = L"%" + std::to_wstring(i + 1);
        const size_t at = text.find(mark);
        if (at != std::wstring::npos)
            text.replace(at, mark.size(), FromCodePage(values[i]));
    }
    return text;
}

std::wstring SystemErrorText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring reason =
        length > 0 && text ? std::wstring(text, length) : L"system error " + std::to_wstring(error);
    if (text)
        LocalFree(text);
    // The system's texts end with a line break, some after a space.
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return reason;
}
