#pragma once
// The main window: menu bar, the form as its client area, sized and centred
// around the form; its close deletes the display context and asks nothing.
#include "framework/frame_wnd.h"

class CGlyphkitApp;

class CMainFrame : public CFrameWnd {
public:
    explicit CMainFrame(CGlyphkitApp& app) : m_app(app) {}

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
    // The help file at its default topic.
    void OpenHelp();

    CGlyphkitApp& m_app;

    friend struct MainFrameMessageMap;
};
