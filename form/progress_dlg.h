#pragma once
// The progress window of a download: modeless, centred on the window it
// belongs to, a bar from 0 to the character count with how far it is
// ("k / n 文字"), and 中止 (Esc too), which stops the download.
#include <cstdint>
#include <functional>

#include "framework/dialog.h"

class CProgressDlg : public CDialog {
public:
    // stop is called on the window's thread when the operator stops.
    CProgressDlg(HWND parent, std::function<void()> stop);

    // Character index (0-based) of count was sent: the bar moves to index + 1.
    void SetProgress(uint32_t count, uint32_t index);

protected:
    bool OnInitDialog() override;
    // Enter ends nothing; Esc, 中止 and Alt+F4 stop the download.
    void OnOK() override {}
    void OnCancel() override;

private:
    std::function<void()> m_stop;
    bool m_bStopping = false;
    uint32_t m_nRange = 0; // the bar's range, once set
};
