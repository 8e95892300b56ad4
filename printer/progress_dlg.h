#pragma once
// The progress window of a download: modeless, centred on the window it
// belongs to, a bar from 0 to the character count.
#include <cstdint>

#include "framework/dialog.h"

class CProgressDlg : public CDialog {
public:
    explicit CProgressDlg(HWND parent);

    // Character index (0-based) of count was sent: the bar moves to index + 1.
    void SetProgress(uint32_t count, uint32_t index);

protected:
    bool OnInitDialog() override;
    // Esc and Enter end nothing: the transfer runs to its end.
    void OnOK() override {}
    void OnCancel() override {}

private:
    uint32_t m_nRange = 0; // the bar's range, once set
};
