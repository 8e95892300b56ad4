#include "form/printer_wait_dlg.h"

#include "framework/message_text.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

namespace {

const UINT_PTR kComeTimer = 1;
const UINT kDelayMs = 500;

} // namespace

CPrinterWaitDlg::CPrinterWaitDlg(HWND owner, std::function<void()> stop)
    : CDialog(IDD_PRINTER_WAIT, owner), m_stop(std::move(stop)) {}

bool CPrinterWaitDlg::Create() {
    return CreateModeless();
}

bool CPrinterWaitDlg::OnInitDialog() {
    // Centred on the window it belongs to.
    RECT owner, own;
    GetWindowRect(m_hParent, &owner);
    GetWindowRect(m_hWnd, &own);
    const int left = (owner.left + owner.right - (own.right - own.left)) / 2;
    const int top = (owner.top + owner.bottom - (own.bottom - own.top)) / 2;
    SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Hidden, it takes no input either: nothing is there to answer yet.
    EnableWindow(m_hWnd, FALSE);
    ComeLater();
    return true;
}

void CPrinterWaitDlg::ComeLater() {
    SetTimer(m_hWnd, kComeTimer, kDelayMs, nullptr);
}

void CPrinterWaitDlg::Hold(bool held) {
    if (!m_hWnd)
        return;
    if (held) {
        KillTimer(m_hWnd, kComeTimer);
        ShowWindow(m_hWnd, SW_HIDE);
        EnableWindow(m_hWnd, FALSE);
    } else if (!m_bStopping && !m_bRetired) {
        ComeLater();
    }
}

void CPrinterWaitDlg::Retire() {
    m_bRetired = true;
    Hold(true);
}

bool CPrinterWaitDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message != WM_TIMER || wParam != kComeTimer)
        return false;
    KillTimer(m_hWnd, kComeTimer);
    if (m_bRetired)
        return true;
    // Taking the keyboard, so that Esc stops.
    EnableWindow(m_hWnd, TRUE);
    ShowWindow(m_hWnd, SW_SHOW);
    SetFocus(GetItem(IDCANCEL));
    *result = 0;
    return true;
}

void CPrinterWaitDlg::OnCancel() {
    if (m_bStopping)
        return;
    m_bStopping = true;
    SetWindowTextW(GetItem(IDC_WAIT_LABEL), LoadText(IDS_PRINTER_STOPPING).c_str());
    EnableWindow(GetItem(IDCANCEL), FALSE);
    if (m_stop)
        m_stop();
}
