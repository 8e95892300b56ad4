#include "framework/window.h"

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
    return ToAnsi(WindowText(hwnd));
}

bool IsChecked(HWND button) {
    // Checked or indeterminate.
    return SendMessageW(button, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void SetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), &out[0], size, nullptr,
                            nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &out[0], size);
    return out;
}
