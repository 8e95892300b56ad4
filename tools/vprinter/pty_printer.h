#pragma once
// The virtual printer's line: the master side of a pseudo-terminal whose slave
// a COM port is mapped to. Moves bytes between the pty and the engine, paces
// them at a baud rate when asked (a pty delivers instantly), and logs them.
#include <chrono>
#include <functional>
#include <string>

#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/wire_log.h"

namespace vprinter {

struct LineOptions {
    // Bits per second for both directions, 10 bits a byte (8N1); 0 for no pacing.
    int baud = 0;
    // Quiet time after which a half-received command or download is dropped.
    int abandonMs = 2000;
};

class PtyPrinter {
public:
    PtyPrinter(PrinterEngine& engine, WireLog& log, LineOptions options);
    ~PtyPrinter();
    PtyPrinter(const PtyPrinter&) = delete;
    PtyPrinter& operator=(const PtyPrinter&) = delete;

    // Opens the pty, puts its slave in raw mode and points `linkPath` (a
    // symbolic link, replaced when it exists) at the slave.
    bool Open(const std::string& linkPath, std::string* error);
    const std::string& SlavePath() const { return slavePath_; }

    // Serves the line while keepRunning() says so (asked at least every 50 ms).
    void Run(const std::function<bool()>& keepRunning);

private:
    using Clock = std::chrono::steady_clock;

    // Sends a reply piece; commandEnd: when the command it answers had come
    // in on the paced line (the epoch when that does not apply).
    void Send(const TimedBytes& piece, Clock::time_point commandEnd);
    bool WriteAll(const uint8_t* data, size_t size);

    PrinterEngine& engine_;
    WireLog& log_;
    LineOptions options_;
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    Clock::time_point lineInFree_{};
    Clock::time_point lineOutFree_{};
};

} // namespace vprinter
