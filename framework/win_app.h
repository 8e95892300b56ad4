#pragma once
// The application object: one per process, reached through Current(). It
// runs the start-up and exit steps and the message loop, which gives every
// message of the main window first to the accelerator table (so that a
// focused edit of the form does not take Ctrl+N), then to IsDialogMessage of
// the form and of each modeless dialog (so Tab and the dialog keys work
// there).
#include <windows.h>

#include <vector>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Current() { return s_pCurrent; }

    // Start-up: true to run the message loop, false to end the process.
    virtual bool InitInstance() { return true; }
    // Exit step: the process's exit code.
    virtual int ExitInstance() { return m_nExitCode; }
    // A command from the main window's menu or accelerators that the frame
    // did not handle; true when handled.
    virtual bool OnCommand(int /*id*/) { return false; }
    // F1 in a window of the program: windowId is the template or resource ID
    // of the dialog or frame it was pressed in; true when handled.
    virtual bool OnHelp(int /*windowId*/) { return false; }

    // InitInstance, the message loop, ExitInstance.
    int Run(HINSTANCE instance);

    void AddDialogWindow(HWND hwnd);
    void RemoveDialogWindow(HWND hwnd);
    // The accelerators and the dialog keys; true when one of them took msg.
    bool PreTranslateMessage(MSG& msg);

    HINSTANCE m_hInstance = nullptr;
    HWND m_hMainWnd = nullptr;
    HACCEL m_hAccelerators = nullptr;

protected:
    int m_nExitCode = 0;

private:
    static CWinApp* s_pCurrent;
    std::vector<HWND> m_dialogWindows;
};
