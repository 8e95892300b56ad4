#include "printer/printer_port.h"

#include <string>

#include "printer/text_formats.h"

PortHandle& PortHandle::operator=(PortHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.Release();
        m_lock = std::move(other.m_lock);
    }
    return *this;
}

void PortHandle::Close() {
    // The handle goes first: whoever takes the port next opens it anew.
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_lock.Unlock();
}

HANDLE PortHandle::Release() {
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return handle;
}

namespace {

// A port name that leads to no device can still open (Wine does so for a
// port mapped to a missing path) as a file that is no character device and
// has no line state; it could never talk to a printer. Only such a handle is
// refused: some serial drivers report another file type for a real port,
// and those answer for their line state.
bool IsSerialDevice(HANDLE handle) {
    if (GetFileType(handle) == FILE_TYPE_CHAR)
        return true;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(handle, &dcb) != FALSE;
}

} // namespace

PortHandle OpenPrinterPort(int comPort, PortRefusal* refusal) {
    PortRefusal why;
    // A port another program holds counts as one that cannot be opened.
    PortLock lock = PortLock::Acquire(PrinterAddress::Com(comPort));
    if (!lock.IsHeld()) {
        why.held = true;
    } else {
        const std::string path = "\\\\.\\" + ComPortName(comPort);
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            why.systemError = GetLastError();
        else if (IsSerialDevice(handle))
            return PortHandle(handle, std::move(lock));
        else
            CloseHandle(handle);
    }
    if (refusal)
        *refusal = why;
    return PortHandle();
}

void CutSerialPort(HANDLE port) {
    // Reads return at once with what has come, then the read under way is
    // cancelled.
    COMMTIMEOUTS immediate{};
    immediate.ReadIntervalTimeout = MAXDWORD;
    SetCommTimeouts(port, &immediate);
    CancelIoEx(port, nullptr);
}

bool SerialPrinterLink::WriteBlock(const uint8_t* data, size_t count) {
    return m_rs232c.WriteBlock(m_port, data, DWORD(count));
}

bool SerialPrinterLink::WriteByte(uint8_t value) {
    return m_rs232c.WriteByte(m_port, value, 1);
}

bool SerialPrinterLink::ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) {
    if (m_bTimeoutsSet && count == m_timeoutCount && constantMs == m_timeoutConstant)
        return m_rs232c.ReadAttempts(m_port, buffer, DWORD(count));
    m_bTimeoutsSet = m_rs232c.SetReadTimeouts(m_port, DWORD(count), constantMs);
    m_timeoutCount = count;
    m_timeoutConstant = constantMs;
    return m_rs232c.ReadAttempts(m_port, buffer, DWORD(count));
}
