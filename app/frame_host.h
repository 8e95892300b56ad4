#pragma once
// What the main window needs from the application: the COM port or network
// printer its menu sets, the help file it opens, and whether a running
// download refuses its commands. The application implements it.
#include <optional>
#include <string>

#include "printer/printer_address.h"

class FrameHost {
public:
    virtual ~FrameHost() = default;
    virtual int ComPort() const = 0;
    virtual void SetComPort(int port) = 0;
    // The network printer chosen last in this run, also while the printer
    // commands talk to the COM port; nothing before the first.
    virtual std::optional<PrinterAddress> LastNetworkPrinter() const = 0;
    virtual void SetNetworkPrinter(const PrinterAddress& printer) = 0;
    virtual const std::string& HelpFilePath() const = 0;
    // A download runs: the printer may not change.
    virtual bool DownloadRunning() const = 0;
    // A batch provisioning runs: the printer may not change either.
    virtual bool BatchRunning() const = 0;
    // While a download runs: tells the operator the command must wait, and
    // true. Otherwise false.
    virtual bool RefusedDuringTransfer() = 0;
    // The main window closes: the display context goes with it.
    virtual void FrameClosing() = 0;
};
