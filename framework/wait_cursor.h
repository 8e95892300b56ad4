#pragma once
// The hourglass for as long as the scope lasts; the previous cursor comes
// back on every path out.
#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(Restore()) {}
    ~CWaitCursor() { SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the hourglass again, after messages dispatched meanwhile may have
    // changed the cursor; the cursor it replaced.
    static HCURSOR Restore() { return SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); }

private:
    HCURSOR m_hPrevious;
};
