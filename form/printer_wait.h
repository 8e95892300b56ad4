#pragma once
// Keys pressed while the window could not take them (a printer held its
// thread) were meant for what the window showed then. Kept, the first would
// answer the next message box before anyone saw it (Esc, Enter), or press
// the focused button again: they are dropped when the wait ends and before
// any message box shows.
#include <windows.h>

#include "framework/wait_cursor.h"

inline void DropQueuedKeys() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

// The window's wait for a printer: the hourglass while it lasts, and the
// keys pressed meanwhile dropped when it ends.
class CPrinterWait {
public:
    CPrinterWait() = default;
    ~CPrinterWait() { DropQueuedKeys(); }
    CPrinterWait(const CPrinterWait&) = delete;
    CPrinterWait& operator=(const CPrinterWait&) = delete;

private:
    CWaitCursor m_cursor;
};
