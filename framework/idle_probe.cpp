#include "framework/idle_probe.h"

#include <cstdint>

namespace {

const UINT_PTR kProbeTimer = 0x1D1E;

UINT ProbeMessage() {
    static const UINT message = RegisterWindowMessageW(kIdleProbeMessage);
    return message;
}

uintptr_t IdleCount(HWND mainWindow) {
    return reinterpret_cast<uintptr_t>(GetPropW(mainWindow, kIdleCountProperty));
}

} // namespace

bool HandleIdleProbe(HWND mainWindow, UINT message, WPARAM wParam, LRESULT* result) {
    if (message == ProbeMessage() && message != 0) {
        // A timer's message comes only when no other waits, input or paint,
        // whichever loop takes the messages, so it follows whatever the
        // program was asked before this probe.
        SetTimer(mainWindow, kProbeTimer, USER_TIMER_MINIMUM, nullptr);
        *result = LRESULT(IdleCount(mainWindow));
        return true;
    }
    if (message == WM_TIMER && wParam == kProbeTimer) {
        // Nothing at all may be left; under Wine, a PeekMessage that finds
        // nothing also hands what was drawn to the X server. Otherwise the
        // timer comes again.
        MSG next;
        if (!PeekMessageW(&next, nullptr, 0, 0, PM_NOREMOVE)) {
            KillTimer(mainWindow, kProbeTimer);
            SetPropW(mainWindow, kIdleCountProperty,
                     reinterpret_cast<HANDLE>(IdleCount(mainWindow) + 1));
        }
        *result = 0;
        return true;
    }
    return false;
}
