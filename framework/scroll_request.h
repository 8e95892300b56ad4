#pragma once
// What a scroll bar request (WM_VSCROLL, WM_HSCROLL) asks for, read the same
// way by every window that scrolls.
#include <windows.h>

#include <cstdint>
#include <optional>

// The position the request leads to from the bar's state, before clamping:
// a line is lineStep pixels, a page the bar's page; nothing for a request
// that moves nothing (SB_ENDSCROLL).
std::optional<int> ScrollRequestTarget(HWND hwnd, int bar, int request, int lineStep);

// Sets both bars of a window whose content is width x height pixels (a bar
// takes at most INT_MAX) to its client area, with SIF_DISABLENOSCROLL or not
// in extraMask; keeps *scroll within the content and returns the last
// position of each bar.
POINT FitScrollBars(HWND hwnd, uint64_t width, uint64_t height, UINT extraMask, POINT* scroll);
