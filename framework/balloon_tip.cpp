#include "framework/balloon_tip.h"

#include <commctrl.h>

BalloonTip::~BalloonTip() {
    if (m_tip)
        DestroyWindow(m_tip);
}

void BalloonTip::Show(HWND field, const std::wstring& title, const std::wstring& text) {
    Hide();
    if (!m_tip) {
        m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, field,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!m_tip)
            return; // the beep that came with the refusal has to do
    }
    m_text = text;
    m_field = field;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = field;
    tool.lpszText = &m_text[0];
    SendMessageW(m_tip, TTM_DELTOOLW, 0, LPARAM(&tool));
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, LPARAM(&tool));
    SendMessageW(m_tip, TTM_SETTITLEW, TTI_WARNING, LPARAM(title.c_str()));
    SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, 320);
    // The balloon points at the middle of the field's lower edge.
    RECT r;
    GetWindowRect(field, &r);
    SendMessageW(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom));
    SendMessageW(m_tip, TTM_TRACKACTIVATE, TRUE, LPARAM(&tool));
}

void BalloonTip::Hide() {
    if (!m_tip || !m_field)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_field;
    SendMessageW(m_tip, TTM_TRACKACTIVATE, FALSE, LPARAM(&tool));
    m_field = nullptr;
}
