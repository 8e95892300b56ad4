#include "framework/form_view.h"

#include <algorithm>

#include "framework/dc.h"
#include "framework/scroll_request.h"

bool CFormView::Create(HWND frame) {
    m_hParent = frame;
    if (!CreateModeless())
        return false;
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    m_totalSize = {rect.right - rect.left, rect.bottom - rect.top};
    ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

void CFormView::RememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(m_hWnd, focus))
        m_hFocus = focus;
}

void CFormView::RestoreFocus() {
    if (m_hFocus && IsWindow(m_hFocus))
        SetFocus(m_hFocus);
    else
        SetFocus(GetNextDlgTabItem(m_hWnd, nullptr, FALSE));
}

void CFormView::UpdateScrollBars() {
    // The room the form has without scroll bars; a bar takes room only when
    // the form does not fit, which may make the other one needed too.
    RECT window;
    GetWindowRect(m_hWnd, &window);
    int room[2] = {int(window.right - window.left), int(window.bottom - window.top)};
    const int totals[2] = {int(m_totalSize.cx), int(m_totalSize.cy)};
    bool needed[2] = {totals[0] > room[0], totals[1] > room[1]};
    needed[0] = needed[0] || (needed[1] && totals[0] > room[0] - GetSystemMetrics(SM_CXVSCROLL));
    needed[1] = needed[1] || (needed[0] && totals[1] > room[1] - GetSystemMetrics(SM_CYHSCROLL));
    if (needed[1])
        room[0] -= GetSystemMetrics(SM_CXVSCROLL);
    if (needed[0])
        room[1] -= GetSystemMetrics(SM_CYHSCROLL);

    const LONG* positions[2] = {&m_scroll.x, &m_scroll.y};
    const int bars[2] = {SB_HORZ, SB_VERT};
    for (int i = 0; i < 2; ++i) {
        const int position = needed[i] ? std::min<int>(*positions[i], totals[i] - room[i]) : 0;
        ScrollTo(bars[i], position);
        ShowScrollBar(m_hWnd, bars[i], needed[i]);
        if (!needed[i])
            continue;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        info.nMax = totals[i] - 1;
        info.nPage = UINT(room[i]);
        info.nPos = position;
        SetScrollInfo(m_hWnd, bars[i], &info, TRUE);
    }
}

void CFormView::Scroll(int bar, int request) {
    const std::optional<int> target = ScrollRequestTarget(m_hWnd, bar, request, 16);
    if (!target)
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(m_hWnd, bar, &info);
    const int limit = std::max(0, info.nMax + 1 - int(info.nPage));
    const int position = std::clamp(*target, 0, limit);
    ScrollTo(bar, position);
    SetScrollPos(m_hWnd, bar, position, TRUE);
}

void CFormView::ScrollTo(int bar, int position) {
    LONG& current = bar == SB_HORZ ? m_scroll.x : m_scroll.y;
    const int delta = int(current) - position;
    if (delta == 0)
        return;
    current = position;
    ScrollWindowEx(m_hWnd, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr, nullptr,
                   nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

bool CFormView::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    switch (message) {
    case WM_SIZE:
        UpdateScrollBars();
        return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
        Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        *result = 0;
        return true;
    case WM_PAINT: {
        const ScopedPaint paint(m_hWnd);
        OnDraw(paint.Get());
        *result = 0;
        return true;
    }
    default:
        return false;
    }
}
