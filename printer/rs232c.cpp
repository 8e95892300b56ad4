#include "printer/rs232c.h"

void ApplyLineSettings(DCB& dcb, DWORD baudRate, BYTE parity, BYTE rtsControl) {
    dcb.BaudRate = baudRate;
    dcb.fParity = 1;
    dcb.fRtsControl = rtsControl & 3;
    dcb.ByteSize = 8;
    dcb.Parity = parity;
    dcb.StopBits = ONESTOPBIT;
    // Everything else stays as the driver had it, except software flow
    // control: with it on, the driver would take the XON and XOFF bytes that
    // glyph bitmaps and records are full of as line control and drop them.
    dcb.fOutX = 0;
    dcb.fInX = 0;
}

PortSetup CRS232C::Configure(HANDLE port, DWORD baudRate, BYTE parity, BYTE rtsControl) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return PortSetup::StateUnreadable;
    ApplyLineSettings(dcb, baudRate, parity, rtsControl);
    if (!SetCommState(port, &dcb))
        return PortSetup::SettingsRefused;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 1;
    timeouts.ReadTotalTimeoutConstant = 1000;
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 100;
    SetCommTimeouts(port, &timeouts); // every read sets its own time-outs anyway
    return PortSetup::Ready;
}

bool CRS232C::WriteBlock(HANDLE port, const void* data, DWORD count) {
    DWORD written = 0;
    return WriteFile(port, data, count, &written, nullptr) && written == count;
}

bool CRS232C::WriteByte(HANDLE port, BYTE value, DWORD expectedWritten) {
    DWORD written = 0;
    return WriteFile(port, &value, 1, &written, nullptr) && written == expectedWritten;
}

bool CRS232C::SetReadTimeouts(HANDLE port, DWORD count, DWORD constantMs) {
    // The per-byte multiplier grows with the read's size, so a read of n
    // bytes waits at most 10 x n x n + constant ms.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 10 * count;
    timeouts.ReadTotalTimeoutConstant = constantMs;
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 100;
    return SetCommTimeouts(port, &timeouts) != FALSE;
}

bool CRS232C::ReadBlock(HANDLE port, void* buffer, DWORD count, DWORD constantMs) {
    SetReadTimeouts(port, count, constantMs);
    return ReadAttempts(port, buffer, count);
}

bool CRS232C::ReadAttempts(HANDLE port, void* buffer, DWORD count) {
    if (count == 0)
        return true;
    // Each attempt reads into the start of the buffer; a short attempt is
    // dropped whole. Only the count returned matters: a failed ReadFile
    // returns fewer bytes and counts as a short attempt.
    //
    // There is no fourth read after the third short attempt. Such a read
    // could only end in failure whatever it received, so it would add one
    // more time-out (up to 100 s for a record block) to every failure and
    // throw away what it read; no caller needs it, since they rely only on
    // true meaning exactly count bytes in the buffer.
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD got = 0;
        ReadFile(port, buffer, count, &got, nullptr);
        if (got == count)
            return true;
    }
    return false;
}

void CRS232C::Discard(HANDLE port) {
    PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
}

DWORD CRS232C::BytesQueued(HANDLE port) {
    DWORD errors = 0;
    COMSTAT status{};
    return ClearCommError(port, &errors, &status) ? status.cbInQue : 0;
}
