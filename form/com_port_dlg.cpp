#include "form/com_port_dlg.h"

#include <string>

#include "printer/printer_port.h"
#include "printer/text_formats.h"
#include "res/control_ids.h"

CComPortDlg::CComPortDlg(HWND parent, int comPort)
    : CDialog(IDD_COMPORT, parent), m_nComPort(comPort) {}

bool CComPortDlg::OnInitDialog() {
    HWND combo = GetItem(IDC_COMPORT_COMBO);
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        const std::wstring name = ComPortName<wchar_t>(port);
        SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(name.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, WPARAM(m_nComPort - kFirstComPort), 0);
    return true;
}

void CComPortDlg::OnOK() {
    const LRESULT selected = SendMessageW(GetItem(IDC_COMPORT_COMBO), CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR)
        m_nComPort = int(selected) + kFirstComPort;
    EndDialog(IDOK);
}
