#pragma once
// A balloon below a field that says why what was just done there was
// refused, without a modal box. It stays until hidden or destroyed.
#include <windows.h>

#include <string>

class BalloonTip {
public:
    BalloonTip() = default;
    BalloonTip(const BalloonTip&) = delete;
    BalloonTip& operator=(const BalloonTip&) = delete;
    ~BalloonTip();

    // Shows title and text below field, in place of what it showed before.
    void Show(HWND field, const std::wstring& title, const std::wstring& text);
    void Hide();

private:
    HWND m_tip = nullptr;
    HWND m_field = nullptr; // the tool's window, while it shows
    std::wstring m_text;    // the tool's text, which must live while it shows
};
