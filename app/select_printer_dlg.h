#pragma once
// The model choice at start-up and after Ctrl+N: three buttons, the compact
// family selected each time the dialog opens.
#include "framework/dialog.h"

class CSelectPrinterDlg : public CDialog {
public:
    explicit CSelectPrinterDlg(HWND parent);
    ~CSelectPrinterDlg() override;

    int m_nSelection = 0; // position of the chosen button

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    HICON m_hIcon;
};
