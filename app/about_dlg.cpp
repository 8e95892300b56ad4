#include "app/about_dlg.h"

#include "framework/code_page_text.h"
#include "framework/version_info.h"
#include "res/control_ids.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

bool CAboutDlg::OnInitDialog() {
    // The version is built from its four numbers, so that a number of two
    // digits in any place shows as it is.
    const CVersionInfo version;
    SetWindowTextTo(GetItem(IDC_ABOUT_DESCRIPTION), FromCodePage(version.GetFileDescription()));
    SetWindowTextTo(GetItem(IDC_ABOUT_VERSION),
                    L"Version " + FromCodePage(version.GetFileVersionText()));
    SetWindowTextTo(GetItem(IDC_ABOUT_COPYRIGHT), FromCodePage(version.GetLegalCopyright()));
    return true;
}
