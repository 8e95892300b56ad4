#pragma once
// The network printer dialog: the address and TCP port of a printer's
// network interface, checked at OK, and a connection test of what is typed.
// After OK, m_printer is the printer they name.
#include <functional>
#include <optional>
#include <string>

#include "framework/dialog.h"
#include "printer/printer_address.h"

class CNetworkPrinterDlg : public CDialog {
public:
    // Connects to printer and tells over the dialog what it found.
    using ConnectionTest = std::function<void(HWND dialog, const PrinterAddress& printer)>;

    // current: the network printer in use, if there is one.
    CNetworkPrinterDlg(HWND parent, const std::optional<PrinterAddress>& current,
                       ConnectionTest test);

    std::string m_strHost; // as typed
    std::string m_strPort;
    PrinterAddress m_printer;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    // The fields taken and checked: the printer they name, or nothing after
    // the message, with the focus back in the field refused.
    std::optional<PrinterAddress> TakeTyped();

    ConnectionTest m_test;
};
