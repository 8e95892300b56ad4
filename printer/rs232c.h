#pragma once
// CRS232C: the serial port helper of every printer operation. It holds no
// state: each call gets the port handle. Configure says what it came to, the
// other calls whether they succeeded.
#include <windows.h>

#include "printer/printer_link.h"

// The line settings the printer needs, applied to the block the driver
// reported: speed, 8 data bits, the given parity, one stop bit, the given RTS
// control, and no XON/XOFF flow control (glyph data holds 0x11 and 0x13).
void ApplyLineSettings(DCB& dcb, DWORD baudRate, BYTE parity, BYTE rtsControl);

// What configuring a port came to.
enum class PortSetup {
    Ready,
    StateUnreadable, // the driver gave no state: no serial port behind the handle
    SettingsRefused  // the driver refused the line settings
};

class CRS232C {
public:
    virtual ~CRS232C() = default;

    // Reads the port's state, applies the line settings, writes it back and
    // sets the default time-outs.
    PortSetup Configure(HANDLE port, DWORD baudRate, BYTE parity, BYTE rtsControl);
    bool WriteBlock(HANDLE port, const void* data, DWORD count);
    bool WriteByte(HANDLE port, BYTE value, DWORD expectedWritten);
    bool SetReadTimeouts(HANDLE port, DWORD count, DWORD constantMs);
    // True when one read attempt returned exactly count bytes.
    bool ReadBlock(HANDLE port, void* buffer, DWORD count, DWORD constantMs);
    // The read attempts of ReadBlock alone, under the time-outs already set
    // for the same count and constant.
    bool ReadAttempts(HANDLE port, void* buffer, DWORD count);
    // Drops whatever waits in the port's buffers, both ways.
    void Discard(HANDLE port);
    // Bytes received and not read yet.
    DWORD BytesQueued(HANDLE port);

    static constexpr int kReadAttempts = kLinkReadAttempts;
};
