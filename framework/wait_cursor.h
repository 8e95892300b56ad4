#pragma once
// The hourglass for as long as the scope lasts. Scopes nest: the cursor the
// outermost one replaced comes back when it ends, on every path out.
#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() {
        const HCURSOR replaced = Show();
        if (s_nDepth++ == 0)
            s_hPrevious = replaced;
    }
    ~CWaitCursor() {
        if (--s_nDepth == 0)
            SetCursor(s_hPrevious);
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    static HCURSOR Show() { return SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); }

    // Per thread: the cursor belongs to the thread that shows it.
    static inline thread_local int s_nDepth = 0;
    static inline thread_local HCURSOR s_hPrevious = nullptr;
};
