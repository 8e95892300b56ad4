#include "printer/printer_port.h"

#include <cstdio>

#include "res/resource_ids.h"

PortHandle& PortHandle::operator=(PortHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.Release();
    }
    return *this;
}

void PortHandle::Close() {
    if (m_handle == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

HANDLE PortHandle::Release() {
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return handle;
}

PortHandle OpenPrinterPort(int comPort, MessageSink& messages) {
    char path[32];
    std::snprintf(path, sizeof path, "\\\\.\\COM%d", comPort);
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    // A port name that leads to no device can still open (Wine does so for a
    // port mapped to a missing path) as something that is no character
    // device; it could never talk to a printer, so it counts as not opened.
    if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        UserMessage message;
        message.id = IDS_COM_OPEN_FAILED;
        messages.Report(message);
    }
    return PortHandle(handle);
}

bool SerialPrinterLink::WriteBlock(const uint8_t* data, size_t count) {
    return m_rs232c.WriteBlock(m_port, data, DWORD(count)) != 0;
}

bool SerialPrinterLink::WriteByte(uint8_t value) {
    return m_rs232c.WriteByte(m_port, value, 1) != 0;
}

bool SerialPrinterLink::ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) {
    return m_rs232c.ReadBlock(m_port, buffer, DWORD(count), constantMs) != 0;
}

namespace {

// Routes the outcome's close step to the port before the handler sees it.
class ClosingHandler : public OutcomeHandler {
public:
    ClosingHandler(PortHandle& port, OutcomeHandler& inner) : m_port(port), m_inner(inner) {}
    void ApplyListing(const ListingUpdate& update) override { m_inner.ApplyListing(update); }
    void ClosePort() override {
        m_port.Close();
        m_inner.ClosePort();
    }
    void ShowMessage(unsigned id, BoxKind box) override { m_inner.ShowMessage(id, box); }

private:
    PortHandle& m_port;
    OutcomeHandler& m_inner;
};

} // namespace

bool RunPrinterOperation(int comPort, CRS232C& rs232c, MessageSink& messages,
                         OutcomeHandler& handler,
                         const std::function<ExchangeOutcome(PrinterLink&)>& exchange,
                         ExchangeOutcome* result) {
    PortHandle port = OpenPrinterPort(comPort, messages);
    if (!port.IsOpen())
        return false;
    handler.PortOpened();
    // A configuration failure has been reported; the exchange then fails on
    // its own time-outs and reports its own message.
    rs232c.Configure(port.Get(), kPrinterBaudRate, NOPARITY, RTS_CONTROL_DISABLE, messages);
    SerialPrinterLink link(rs232c, port.Get());
    ExchangeOutcome outcome = exchange(link);
    ClosingHandler closing(port, handler);
    PlayOutcome(outcome, closing);
    if (port.IsOpen())
        closing.ClosePort();
    if (result)
        *result = std::move(outcome);
    return true;
}
