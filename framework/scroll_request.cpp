#include "framework/scroll_request.h"

#include <algorithm>
#include <climits>

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

POINT FitScrollBars(HWND hwnd, uint64_t width, uint64_t height, UINT extraMask, POINT* scroll) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT last{0, 0};
    const struct {
        int bar;
        uint64_t size;
        LONG page;
        LONG* position;
        LONG* last;
    } bars[] = {{SB_HORZ, width, client.right, &scroll->x, &last.x},
                {SB_VERT, height, client.bottom, &scroll->y, &last.y}};
    for (const auto& b : bars) {
        const int range = int(std::min<uint64_t>(b.size, INT_MAX));
        const int page = std::max<int>(b.page, 0);
        *b.last = std::max(range - page, 0);
        *b.position = std::clamp<LONG>(*b.position, 0, *b.last);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | extraMask;
        info.nMax = std::max(range - 1, 0);
        info.nPage = UINT(page);
        info.nPos = *b.position;
        SetScrollInfo(hwnd, b.bar, &info, TRUE);
    }
    return last;
}
