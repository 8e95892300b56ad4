#pragma once
// The base of every window and dialog of the program: the handle, the object
// found again from the handle, and a few helpers named by what they act on.
#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetItem(int id) const { return GetDlgItem(m_hWnd, id); }
    // Invalidates the whole window without erasing it, so that the next
    // paint draws over what is there.
    void Redraw() const { InvalidateRect(m_hWnd, nullptr, FALSE); }

protected:
    HWND m_hWnd = nullptr;
};

// Text of a window or control as UTF-16, and back.
std::wstring WindowText(HWND hwnd);
void SetWindowTextTo(HWND hwnd, const std::wstring& text);
// The same in the ANSI code page, for data that passes through it.
std::string WindowTextAnsi(HWND hwnd);
// A number field's text as it reads: full-width digits and spaces (an IME's
// default) as the ASCII ones they show, any other character outside ASCII
// as '?', which no number holds.
std::string NumberFieldText(HWND field);

bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);

// Registers the window class that description names in its module, unless
// the module has it already; false when it has not and registering failed.
bool RegisterWindowClassOnce(const WNDCLASSEXW& description);
