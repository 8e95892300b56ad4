#include "printer/printer_connection.h"

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "printer/port_lock.h"
#include "printer/printer_port.h"
#include "printer/printer_stop.h"
#include "printer/tcp_link.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"

namespace {

// Holds a connection's cut with the operation's stop while the connection is
// open; the cut is taken back before the connection closes.
class CutHeld {
public:
    CutHeld(PrinterStop* stop, std::function<void()> cut) : m_stop(stop) {
        if (m_stop)
            m_stop->SetCut(std::move(cut));
    }
    ~CutHeld() {
        if (m_stop)
            m_stop->ClearCut();
    }
    CutHeld(const CutHeld&) = delete;
    CutHeld& operator=(const CutHeld&) = delete;

private:
    PrinterStop* m_stop;
};

class SerialConnection : public PrinterConnection {
public:
    SerialConnection(PortHandle port, int comPort, PrinterStop* stop)
        : m_port(std::move(port)), m_link(m_rs232c, m_port.Get()), m_comPort(comPort),
          m_cut(stop, [handle = m_port.Get()] { CutSerialPort(handle); }) {}
    PrinterLink& Link() override { return m_link; }
    std::string Address() const override { return ComPortName(m_comPort); }

private:
    PortHandle m_port;
    CRS232C m_rs232c;
    SerialPrinterLink m_link;
    int m_comPort;
    CutHeld m_cut; // last: taken back before the port closes
};

class NetworkConnection : public PrinterConnection {
public:
    NetworkConnection(SOCKET connection, std::string endpoint, PortLock lock, PrinterStop* stop)
        : m_lock(std::move(lock)), m_link(connection, std::move(endpoint)),
          m_cut(stop, [this] { m_link.Cut(); }) {}
    PrinterLink& Link() override { return m_link; }
    bool Lost() const override { return m_link.Lost(); }
    std::string Address() const override { return m_link.PeerAddress(); }

private:
    // Members go in reverse: the connection closes before the lock goes.
    PortLock m_lock;
    TcpPrinterLink m_link;
    CutHeld m_cut;
};

PrinterReport PortProblem(PrinterResult result, const PrinterAddress& printer = {}) {
    PrinterReport report{PrinterTask::Port, result};
    if (printer.IsNetwork())
        report.printer = PrinterAddressText(printer);
    return report;
}

// Why a port did not open, as the operator reads it.
std::string RefusalText(const PortRefusal& refusal) {
    if (refusal.held)
        return ToCodePage(LoadText(IDS_PORT_HELD));
    if (refusal.systemError == 0)
        return ToCodePage(LoadText(IDS_PORT_NO_DEVICE));
    return ToCodePage(SystemErrorText(refusal.systemError));
}

OpenedPrinter OpenSerialPrinter(int comPort, PrinterStop* stop) {
    OpenedPrinter opened;
    PortRefusal refusal;
    PortHandle port = OpenPrinterPort(comPort, &refusal);
    if (!port.IsOpen()) {
        opened.problem = PortProblem(PrinterResult::PortNotOpened);
        opened.problem.printer = ComPortName(comPort);
        opened.problem.reason = RefusalText(refusal);
        return opened;
    }
    switch (CRS232C().Configure(port.Get(), kPrinterBaudRate, NOPARITY, RTS_CONTROL_DISABLE)) {
    case PortSetup::Ready:
        opened.problem = PortProblem(PrinterResult::Done);
        break;
    case PortSetup::StateUnreadable:
        opened.problem = PortProblem(PrinterResult::PortStateUnreadable);
        break;
    case PortSetup::SettingsRefused:
        opened.problem = PortProblem(PrinterResult::PortSettingsRefused);
        break;
    }
    // A reply left on the line by an exchange that ended early (Ctrl+C, a
    // closed window) would be read as the answer to this one.
    CRS232C().Discard(port.Get());
    opened.connection = std::make_unique<SerialConnection>(std::move(port), comPort, stop);
    return opened;
}

OpenedPrinter OpenNetworkPrinter(const PrinterAddress& printer, PrinterStop* stop) {
    OpenedPrinter opened;
    PortLock lock = PortLock::Acquire(printer);
    if (!lock.IsHeld()) {
        opened.problem = PortProblem(PrinterResult::NetworkInUse, printer);
        return opened;
    }
    PrinterResult failure = PrinterResult::Done;
    std::string endpoint;
    const SOCKET connection = ConnectToPrinter(printer, failure, stop, &endpoint);
    if (connection == INVALID_SOCKET) {
        opened.problem = PortProblem(failure, printer);
        return opened;
    }
    opened.problem = PortProblem(PrinterResult::Done);
    opened.connection =
        std::make_unique<NetworkConnection>(connection, std::move(endpoint), std::move(lock), stop);
    return opened;
}

} // namespace

OpenedPrinter OpenPrinter(const PrinterAddress& printer, PrinterStop* stop) {
    return printer.IsNetwork() ? OpenNetworkPrinter(printer, stop)
                               : OpenSerialPrinter(printer.comPort, stop);
}
