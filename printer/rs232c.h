#pragma once
// CRS232C: the serial port helper of every printer operation. It holds no
// state: each call gets the port handle. All calls return 1 for success and
// 0 for failure.
#include <windows.h>

// The line settings the printer needs, applied to the block the driver
// reported: speed, 8 data bits, the given parity, one stop bit, the given RTS
// control, and no XON/XOFF flow control (glyph data holds 0x11 and 0x13).
void ApplyLineSettings(DCB& dcb, DWORD baudRate, BYTE parity, BYTE rtsControl);

class CRS232C {
public:
    virtual ~CRS232C() = default;

    // Reads the port's state, applies the line settings, writes it back and
    // sets the default time-outs. After a failure failureMessage (when given)
    // holds the string ID to show: IDS_COM_STATE_FAILED or IDS_COM_SETUP_FAILED.
    int Configure(HANDLE port, DWORD baudRate, BYTE parity, BYTE rtsControl,
                  unsigned* failureMessage = nullptr);
    int WriteBlock(HANDLE port, const void* data, DWORD count);
    int WriteByte(HANDLE port, BYTE value, DWORD expectedWritten);
    int SetReadTimeouts(HANDLE port, DWORD count, DWORD constantMs);
    // 1 when one read attempt returned exactly count bytes.
    int ReadBlock(HANDLE port, void* buffer, DWORD count, DWORD constantMs);
    // The read attempts of ReadBlock alone, under the time-outs already set
    // for the same count and constant.
    int ReadAttempts(HANDLE port, void* buffer, DWORD count);

    static constexpr int kReadAttempts = 3;
};
