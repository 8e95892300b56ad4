#include "app/network_printer_dlg.h"

#include <string_view>

#include "framework/message_text.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

namespace {

// A host name takes at most 253 characters; brackets and an IPv6 zone fit
// in the rest.
const int kHostLimit = 255;
const int kPortDigits = 5;

// Blanks around a pasted address are no part of it.
std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

CNetworkPrinterDlg::CNetworkPrinterDlg(HWND parent, const std::optional<PrinterAddress>& current,
                                       ConnectionTest test)
    : CDialog(IDD_NETWORK_PRINTER, parent), m_test(std::move(test)) {
    if (current && current->IsNetwork()) {
        m_printer = *current;
        m_strHost = current->host;
        m_strPort = std::to_string(current->tcpPort);
    } else {
        m_strPort = std::to_string(kDefaultPrinterTcpPort);
    }
}

bool CNetworkPrinterDlg::OnInitDialog() {
    SendMessageW(GetItem(IDC_NET_HOST), EM_LIMITTEXT, kHostLimit, 0);
    SendMessageW(GetItem(IDC_NET_PORT), EM_LIMITTEXT, kPortDigits, 0);
    UpdateData(false);
    return true;
}

void CNetworkPrinterDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_NET_HOST, m_strHost);
    DDX_Text(dx, IDC_NET_PORT, m_strPort);
}

std::optional<PrinterAddress> CNetworkPrinterDlg::TakeTyped() {
    UpdateData(true);
    const std::optional<std::string> host = ParseHost(Trimmed(m_strHost));
    const std::optional<uint16_t> port = ParseTcpPort(Trimmed(m_strPort));
    if (host && port)
        return PrinterAddress::Network(*host, *port);
    const int field = host ? IDC_NET_PORT : IDC_NET_HOST;
    ResultMessageBox(m_hWnd, LoadText(host ? IDS_NET_BAD_PORT : IDS_NET_BAD_HOST),
                     MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    // As the dialog moves the focus: the field's text selected, ready to
    // be typed over.
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, WPARAM(GetItem(field)), TRUE);
    return std::nullopt;
}

bool CNetworkPrinterDlg::OnCommand(int id, int code) {
    if (id != IDC_NET_TEST || code != BN_CLICKED)
        return false;
    // What is typed, not the printer in use: the operator tries an address
    // before taking it.
    const std::optional<PrinterAddress> typed = TakeTyped();
    if (typed && m_test)
        m_test(m_hWnd, *typed);
    return true;
}

void CNetworkPrinterDlg::OnOK() {
    const std::optional<PrinterAddress> typed = TakeTyped();
    if (!typed)
        return;
    m_printer = *typed;
    EndDialog(IDOK);
}
