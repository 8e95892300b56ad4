#pragma once
// What a scroll bar request (WM_VSCROLL, WM_HSCROLL) asks for, read the same
// way by every window that scrolls.
#include <windows.h>

#include <optional>

// The position the request leads to from the bar's state, before clamping:
// a line is lineStep pixels, a page the bar's page; nothing for a request
// that moves nothing (SB_ENDSCROLL).
std::optional<int> ScrollRequestTarget(HWND hwnd, int bar, int request, int lineStep);
