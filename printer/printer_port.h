#pragma once
// Opening the printer's COM port for one operation, the owner that closes it
// exactly once, and the printer link over it.
#include <windows.h>

#include "printer/port_lock.h"
#include "printer/printer_address.h"
#include "printer/printer_link.h"
#include "printer/rs232c.h"

// Owns a port handle for one printer operation, and the port's lock when it
// was opened through OpenPrinterPort: the handle is closed first, then the
// port is given up, both exactly once.
class PortHandle {
public:
    PortHandle() = default;
    explicit PortHandle(HANDLE handle, PortLock lock = {})
        : m_handle(handle), m_lock(std::move(lock)) {}
    PortHandle(PortHandle&& other) noexcept
        : m_handle(other.Release()), m_lock(std::move(other.m_lock)) {}
    PortHandle& operator=(PortHandle&& other) noexcept;
    PortHandle(const PortHandle&) = delete;
    PortHandle& operator=(const PortHandle&) = delete;
    ~PortHandle() { Close(); }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    // Closes the port; later calls do nothing.
    void Close();
    HANDLE Release();

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    PortLock m_lock;
};

constexpr DWORD kPrinterBaudRate = 115200;

// Why OpenPrinterPort gave no handle: the system refused the name
// (systemError), another of the session's programs holds the port (held), or
// neither, when the name opened as no serial device.
struct PortRefusal {
    DWORD systemError = 0;
    bool held = false;
};

// Opens "\\.\COM<comPort>" for exclusive use; not open when it cannot be,
// also when another of the session's programs holds that port; refusal, when
// given, then says why.
PortHandle OpenPrinterPort(int comPort, PortRefusal* refusal = nullptr);

// Any thread: the port's reads end at once, the one waiting now and every
// later one, whatever they wait for.
void CutSerialPort(HANDLE port);

// The exchanges' view of an open port.
class SerialPrinterLink : public PrinterLink {
public:
    SerialPrinterLink(CRS232C& rs232c, HANDLE port) : m_rs232c(rs232c), m_port(port) {}
    bool WriteBlock(const uint8_t* data, size_t count) override;
    bool WriteByte(uint8_t value) override;
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) override;
    bool BytesWaiting() override { return m_rs232c.BytesQueued(m_port) > 0; }

private:
    CRS232C& m_rs232c;
    HANDLE m_port;
    // The time-outs the last read set: a download reads one ACK after every
    // character with the same ones, and setting them costs a round trip to
    // the driver (under Wine, to its server) that the printer waits for.
    size_t m_timeoutCount = 0;
    unsigned m_timeoutConstant = 0;
    bool m_bTimeoutsSet = false;
};
