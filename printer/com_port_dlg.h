#pragma once
// The COM port dialog: COM1 to COM20, the current port selected. OK stores
// the chosen port in the number it was given; Cancel leaves it alone.
#include "framework/dialog.h"

class CComPortDlg : public CDialog {
public:
    CComPortDlg(HWND parent, int& comPort);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    int& m_nComPort;
};
