#include "framework/scroll_request.h"

#include <algorithm>

std::optional<int> ScrollRequestTarget(HWND hwnd, int bar, int request, int lineStep) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd, bar, &info);
    const int page = int(std::max<UINT>(info.nPage, 1));
    switch (request) {
    case SB_LINEUP:
        return info.nPos - lineStep;
    case SB_LINEDOWN:
        return info.nPos + lineStep;
    case SB_PAGEUP:
        return info.nPos - page;
    case SB_PAGEDOWN:
        return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos; // 32 bits, unlike the message's own
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return info.nMax;
    default:
        return std::nullopt;
    }
}
