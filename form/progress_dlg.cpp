#include "form/progress_dlg.h"

#include <commctrl.h>

#include "framework/message_text.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

CProgressDlg::CProgressDlg(HWND parent, std::function<void()> stop)
    : CDialog(IDD_PROGRESS, parent), m_stop(std::move(stop)) {}

bool CProgressDlg::OnInitDialog() {
    // Centred on the window the dialog belongs to.
    RECT parent, own;
    GetWindowRect(GetParent(m_hWnd), &parent);
    GetWindowRect(m_hWnd, &own);
    const int left = (parent.left + parent.right - (own.right - own.left)) / 2;
    const int top = (parent.top + parent.bottom - (own.bottom - own.top)) / 2;
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
    SetWindowTextW(
        GetItem(IDC_PROGRESS_COUNT),
        LoadTextWith(IDS_PROGRESS_COUNT, {std::to_wstring(index + 1), std::to_wstring(count)})
            .c_str());
}

void CProgressDlg::OnCancel() {
    if (m_bStopping)
        return;
    m_bStopping = true;
    SetWindowTextW(GetItem(IDC_PROGRESS_LABEL), LoadText(IDS_PRINTER_STOPPING).c_str());
    EnableWindow(GetItem(IDCANCEL), FALSE);
    if (m_stop)
        m_stop();
}
