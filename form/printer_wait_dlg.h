#pragma once
// The small window of a wait for the printer: it comes only when the printer
// has not answered within half a second, says that the printer is being
// asked, and offers 中止 (Esc too).
#include <functional>

#include "framework/dialog.h"

class CPrinterWaitDlg : public CDialog {
public:
    // stop is called on the window's thread when the operator stops.
    CPrinterWaitDlg(HWND owner, std::function<void()> stop);

    // Creates the window hidden, to come after the delay.
    bool Create();
    // A message or question of the operation is up, or is answered: the
    // window goes meanwhile and comes again after the delay.
    void Hold(bool held);
    // Another window shows the wait from now on (a download's progress): this
    // one goes and does not come again.
    void Retire();
    // The operator stopped elsewhere (Esc on the main window, the progress
    // window's 中止): as the button does.
    void StopFromElsewhere() { OnCancel(); }

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Enter does nothing; Esc, the button and Alt+F4 stop.
    void OnOK() override {}
    void OnCancel() override;

private:
    void ComeLater();

    std::function<void()> m_stop;
    bool m_bStopping = false;
    bool m_bRetired = false;
};
