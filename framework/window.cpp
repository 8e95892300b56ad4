#include "framework/window.h"

#include "framework/code_page_text.h"

#include <vector>

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(size_t(length) + 1);
    const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), size_t(copied > 0 ? copied : 0));
}

void SetWindowTextTo(HWND hwnd, const std::wstring& text) {
    SetWindowTextW(hwnd, text.c_str());
}

std::string WindowTextAnsi(HWND hwnd) {
    return ToCodePage(WindowText(hwnd));
}

std::string NumberFieldText(HWND field) {
    std::string text;
    for (const wchar_t c : WindowText(field)) {
        if (c < 0x80)
            text += char(c);
        else if (c >= L'\uFF10' && c <= L'\uFF19') // ０ to ９
            text += char('0' + (c - L'\uFF10'));
        else if (c == L'\u3000') // the full-width space
            text += ' ';
        else
            text += '?';
    }
    return text;
}

bool IsChecked(HWND button) {
    // Checked or indeterminate.
    return SendMessageW(button, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void SetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RegisterWindowClassOnce(const WNDCLASSEXW& description) {
    // A class stays registered while its module is loaded and cannot be
    // registered twice; the first registration serves every later window.
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    return GetClassInfoExW(description.hInstance, description.lpszClassName, &registered) ||
           RegisterClassExW(&description) != 0;
}
