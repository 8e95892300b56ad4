#include "app/about_dlg.h"

#include "framework/version_info.h"
#include "res/control_ids.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

bool CAboutDlg::OnInitDialog() {
    // The version is built from its four numbers, so that a number of two
    // digits in any place shows as it is.
    const CVersionInfo version;
    SetWindowTextTo(GetItem(IDC_ABOUT_DESCRIPTION), FromAnsi(version.GetFileDescription()));
    SetWindowTextTo(GetItem(IDC_ABOUT_VERSION),
                    L"Version " + FromAnsi(version.GetFileVersionText()));
    SetWindowTextTo(GetItem(IDC_ABOUT_COPYRIGHT), FromAnsi(version.GetLegalCopyright()));
    return true;
}
