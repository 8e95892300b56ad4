#pragma once
// Opening a printer for one operation or a whole provisioning plan: its COM
// port set up for the printer's line, or a TCP connection to its network
// interface, held against the session's other programs while it is open.
#include <memory>
#include <string>

#include "printer/printer_address.h"
#include "printer/printer_link.h"
#include "printer/printer_operator.h"

class PrinterStop;

// An open printer; destroying it closes the port or the connection, then
// gives the printer up.
class PrinterConnection {
public:
    virtual ~PrinterConnection() = default;
    virtual PrinterLink& Link() = 0;
    // The network connection broke during an exchange; never for a COM port.
    virtual bool Lost() const { return false; }
    // How it was reached: "COM3", or the network endpoint connected to,
    // "127.0.0.1:9100", "[::1]:9100".
    virtual std::string Address() const { return std::string(); }
};

struct OpenedPrinter {
    // Nothing when the printer could not be opened.
    std::unique_ptr<PrinterConnection> connection;
    // Not opened: why (PortNotOpened or a Network result, naming the
    // address). Opened: PortStateUnreadable or PortSettingsRefused when the
    // port could not be set up, which the exchange then meets as time-outs;
    // else Done.
    PrinterReport problem;
};

// With a stop, the operator can end the operation from another thread: a
// connection still being made fails as Stopped, an open one is cut (its
// waits end at once) until it closes.
OpenedPrinter OpenPrinter(const PrinterAddress& printer, PrinterStop* stop = nullptr);

// A failed exchange told with its printer. Over a connection that broke it
// is the broken connection: what the exchange made of it (no answer, a
// damaged listing) would send the operator looking at the printer. Every
// failure after the printer was opened names it, on a COM port as on the
// network.
void NamePrinterInFailure(const PrinterConnection& connection, const std::string& printer,
                          PrinterReport& report);
