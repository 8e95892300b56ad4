#pragma once
// What the virtual printer does with the bytes of a line, whatever carries them
// (a pty, a TCP connection): logs them, paces them at a baud rate when asked,
// hands them to the engine and writes its replies back.
#include <chrono>
#include <functional>

#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/wire_log.h"

namespace vprinter {

// On a paced line, a reply leaves in pieces of this much line time (at
// least a byte each), as a serial adapter or a network interface hands
// bytes on: far below any read time-out of the tool's.
constexpr std::chrono::milliseconds kPacedPiece{10};

struct LineOptions {
    // Bits per second for both directions, 10 bits a byte (8N1); 0 for no pacing.
    int baud = 0;
    // Quiet time after which a half-received command or download is dropped.
    int abandonMs = 2000;
};

class LineRelay {
public:
    using Clock = std::chrono::steady_clock;

    LineRelay(PrinterEngine& engine, WireLog& log, LineOptions options);

    // Where replies go: a non-blocking descriptor, a socket written without SIGPIPE.
    void Attach(int fd, bool socket);
    // Bytes read from the line at `arrival`.
    void Take(const uint8_t* data, size_t size, Clock::time_point arrival);
    // Nothing came: drops a half-received command once the line has been quiet long enough.
    void Quiet(Clock::time_point now);

    // Waits until a time; false when the printer is stopping, which drops the
    // rest of the bytes at hand. Sleeps by default.
    std::function<bool(Clock::time_point)> waitUntil;

private:
    // Sends a reply piece; commandEnd: when the command it answers had come
    // in on the paced line (the epoch when that does not apply).
    bool Send(const TimedBytes& piece, Clock::time_point commandEnd);
    // Writes what the link takes within 2 s; the number of bytes written.
    size_t WriteAll(const uint8_t* data, size_t size);
    bool WaitUntil(Clock::time_point until);

    PrinterEngine& engine_;
    WireLog& log_;
    LineOptions options_;
    std::chrono::nanoseconds byteTime_;
    int fd_ = -1;
    bool socket_ = false;
    Clock::time_point lastActivity_ = Clock::now();
    Clock::time_point lineInFree_{};
    Clock::time_point lineOutFree_{};
};

} // namespace vprinter
