#pragma once
// The virtual printer's line: the master side of a pseudo-terminal whose slave
// a COM port is mapped to. Moves bytes between the pty and the engine, paces
// them at a baud rate when asked (a pty delivers instantly), and logs them.
#include <functional>
#include <string>

#include "tools/vprinter/line_relay.h"

namespace vprinter {

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
    LineRelay relay_;
    WireLog& log_;
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

} // namespace vprinter
