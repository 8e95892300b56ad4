#include "printer/progress_dlg.h"

#include <commctrl.h>

#include "res/control_ids.h"

CProgressDlg::CProgressDlg(HWND parent) : CDialog(IDD_PROGRESS, parent) {}

bool CProgressDlg::OnInitDialog() {
    // A 300 x 100 box centred on the window the dialog belongs to.
    RECT parent;
    GetWindowRect(GetParent(m_hWnd), &parent);
    const int left = int((parent.left + parent.right - 300) * 0.5);
    const int top = int((parent.top + parent.bottom - 100) * 0.5);
    // Above the main window while the download runs, also when the main
    // window is clicked and used meanwhile: Wine without a window manager
    // puts an owner over the windows it owns when it is clicked.
    SetWindowPos(m_hWnd, HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    return true;
}

void CProgressDlg::SetProgress(uint32_t count, uint32_t index) {
    HWND bar = GetItem(IDC_PROGRESS_BAR);
    if (count != m_nRange) {
        SendMessageW(bar, PBM_SETRANGE32, 0, LPARAM(count));
        m_nRange = count;
    }
    // The bar invalidates only the part that changed; the paint comes with
    // the window thread's own message loop, which goes on while the
    // download's thread sends.
    SendMessageW(bar, PBM_SETPOS, WPARAM(index + 1), 0);
}
