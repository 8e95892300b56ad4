#pragma once
// The version information dialog: description, version and copyright of the
// running executable.
#include "framework/dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND parent);

protected:
    bool OnInitDialog() override;
};
