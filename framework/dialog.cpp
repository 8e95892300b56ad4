#include "framework/dialog.h"

#include "framework/win_app.h"
#include "framework/window_proc.h"

// The dialog is given with its first message and answers every later one.
struct CDialog::Binding {
    using Object = CDialog;
    using Result = INT_PTR;
    static constexpr int kSlot = DWLP_USER;
    static CDialog* Created(HWND, UINT message, LPARAM lParam) {
        return message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : nullptr;
    }
    static void Attach(CDialog& dialog, HWND hwnd) { dialog.m_hWnd = hwnd; }
    static INT_PTR Handle(CDialog& dialog, HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        return dialog.Handle(message, wParam, lParam);
    }
    static INT_PTR Unanswered(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    static INT_PTR Threw(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    static void Release(CDialog& dialog) { dialog.m_hWnd = nullptr; }
};

INT_PTR CDialog::DoModal() {
    m_bModeless = false;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), m_hParent,
                           ObjectWindowProc<Binding>, reinterpret_cast<LPARAM>(this));
}

bool CDialog::CreateModeless() {
    m_bModeless = true;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), m_hParent,
                       ObjectWindowProc<Binding>, reinterpret_cast<LPARAM>(this));
    if (!m_hWnd)
        return false;
    if (CWinApp* app = CWinApp::Current())
        app->AddDialogWindow(m_hWnd);
    return true;
}

void CDialog::DestroyModeless() {
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

void CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx{m_hWnd, saveAndValidate};
    DoDataExchange(dx);
}

void CDialog::EndDialog(int result) {
    if (m_bModeless)
        DestroyWindow(m_hWnd);
    else
        ::EndDialog(m_hWnd, result);
}

INT_PTR CDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (OnCommand(id, code))
            return TRUE;
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && code == BN_CLICKED) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam), &result)) {
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_HELP: {
        // F1 in the dialog or one of its controls, which hand it up here.
        CWinApp* app = CWinApp::Current();
        return app && app->OnHelp(m_nTemplateId) ? TRUE : FALSE;
    }
    case WM_NCDESTROY: {
        if (m_bModeless) {
            if (CWinApp* app = CWinApp::Current())
                app->RemoveDialogWindow(m_hWnd);
        }
        return FALSE;
    }
    default: {
        LRESULT result = 0;
        if (OnMessage(message, wParam, lParam, &result)) {
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    }
}
