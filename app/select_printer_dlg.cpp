#include "app/select_printer_dlg.h"

#include "res/control_ids.h"

namespace {

const int kModelButtons[] = {IDC_MODEL_COMPACT, IDC_MODEL_QW300, IDC_MODEL_QW400};

} // namespace

CSelectPrinterDlg::CSelectPrinterDlg(HWND parent)
    : CDialog(IDD_SELECT_PRINTER, parent),
      m_hIcon(static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))) {}

CSelectPrinterDlg::~CSelectPrinterDlg() {
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

bool CSelectPrinterDlg::OnInitDialog() {
    CheckRadioButton(m_hWnd, kModelButtons[0], kModelButtons[2], kModelButtons[m_nSelection]);
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, LPARAM(m_hIcon));
    return true;
}

void CSelectPrinterDlg::OnOK() {
    for (int i = 0; i < 3; ++i)
        if (IsDlgButtonChecked(m_hWnd, kModelButtons[i]) == BST_CHECKED)
            m_nSelection = i;
    EndDialog(IDOK);
}
