#pragma once
// The main window: menu bar, the form as its client area, sized and centred
// around the form; its close deletes the display context and asks nothing.
#include "app/frame_host.h"
#include "framework/frame_wnd.h"

class CMainFrame : public CFrameWnd {
public:
    explicit CMainFrame(FrameHost& host) : m_host(host) {}

    // The form's size plus a scroll bar's width and two thin borders across,
    // plus caption, menu, a scroll arrow's height and two thin borders down,
    // one pixel more each way, centred on the desktop.
    void FitFrameToForm();

protected:
    bool OnCommand(int id) override;
    void OnClose() override;

private:
    // Menu commands.
    void OnComPort();
    void OnNetworkPrinter();
    // The help at its default topic: the help file, or under Wine its pages
    // in the desktop's browser.
    void OpenHelp();

    FrameHost& m_host;
};
