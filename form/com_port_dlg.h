#pragma once
// The COM port dialog: COM1 to COM20, the given port selected. After OK,
// m_nComPort holds the chosen port; Cancel leaves it as it was given.
#include "framework/dialog.h"

class CComPortDlg : public CDialog {
public:
    CComPortDlg(HWND parent, int comPort);

    int m_nComPort;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
