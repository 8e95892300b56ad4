#include "framework/win_app.h"

#include <algorithm>

CWinApp* CWinApp::s_pCurrent = nullptr;

CWinApp::CWinApp() {
    s_pCurrent = this;
}

CWinApp::~CWinApp() {
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
}

void CWinApp::AddDialogWindow(HWND hwnd) {
    m_dialogWindows.push_back(hwnd);
}

void CWinApp::RemoveDialogWindow(HWND hwnd) {
    m_dialogWindows.erase(std::remove(m_dialogWindows.begin(), m_dialogWindows.end(), hwnd),
                          m_dialogWindows.end());
}

bool CWinApp::PreTranslateMessage(MSG& msg) {
    // The accelerators first for the main window's keys (Ctrl+N), so that a
    // focused edit of the form does not take them; then the dialog keys.
    if (m_hAccelerators && m_hMainWnd &&
        (msg.hwnd == m_hMainWnd || IsChild(m_hMainWnd, msg.hwnd)) &&
        TranslateAcceleratorW(m_hMainWnd, m_hAccelerators, &msg))
        return true;
    for (HWND dialog : m_dialogWindows)
        if (IsDialogMessageW(dialog, &msg))
            return true;
    return false;
}

int CWinApp::Run(HINSTANCE instance) {
    m_hInstance = instance;
    if (!InitInstance())
        return ExitInstance();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    m_nExitCode = int(msg.wParam);
    return ExitInstance();
}
