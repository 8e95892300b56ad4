#pragma once
// The main frame: an overlapped top-level window with the menu, icon and
// accelerators of one resource, holding a form view as its client area.
#include "framework/window.h"

class CFormView;

class CFrameWnd : public CWnd {
public:
    // Creates the frame hidden, with the caption, menu and icon of resource
    // resourceId. False when the window could not be made.
    bool Create(int resourceId, const wchar_t* caption);
    void SetView(CFormView* view) { m_pView = view; }
    CFormView* GetView() const { return m_pView; }

protected:
    // A menu or accelerator command; true when handled.
    virtual bool OnCommand(int /*id*/) { return false; }
    // The close box, the system menu or a posted WM_CLOSE; the default
    // destroys the window.
    virtual void OnClose() { DestroyWindow(m_hWnd); }
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Binding;

    CFormView* m_pView = nullptr;
    int m_nResourceId = 0;
};
