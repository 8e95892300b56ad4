#pragma once
// The virtual printer on the network: listens on a TCP port, as a printer's
// network interface does, and serves one connection at a time with the
// engine; the ones that come meanwhile wait in the listen queue. Each
// connection is one operation: it starts with nothing half received, and the
// memory stays across connections. Or it plays a peer that is not a printer
// on every connection, leaving the engine alone.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "tools/vprinter/line_relay.h"
#include "tools/vprinter/non_printer.h"

namespace vprinter {

struct TcpOptions {
    LineOptions line;
    // Time between finding a connection waiting and accepting it.
    int acceptDelayMs = 0;
    // Played on every connection instead of the printer; `line` does not apply.
    std::optional<NonPrinterOptions> notPrinter;
};

// "[HOST:]PORT" or "[IPv6]:PORT" (HOST 127.0.0.1 when left out); false when it is neither.
bool ParseTcpAddress(const std::string& text, std::string& host, int& port);

class TcpPrinter {
public:
    TcpPrinter(PrinterEngine& engine, WireLog& log, TcpOptions options);
    ~TcpPrinter();
    TcpPrinter(const TcpPrinter&) = delete;
    TcpPrinter& operator=(const TcpPrinter&) = delete;

    // Binds and listens (port 0: any free port). From here on the kernel
    // completes the connections that come, even before Run.
    bool Listen(const std::string& host, int port, std::string* error);
    // What it listens on: "127.0.0.1:9100", "[::1]:9100".
    const std::string& Address() const { return address_; }
    int Port() const { return port_; }

    // Serves until Stop() or until keepRunning() (when given, asked at least
    // every 50 ms) says no; a connection still open is then closed.
    void Run(const std::function<bool()>& keepRunning = {});
    // From any thread, also before Run: Run returns soon after.
    void Stop();

private:
    void Accept();
    void EndConnection(bool reset, const std::string& why);
    // Waits until the time or a stop; false when stopping.
    bool WaitUntil(LineRelay::Clock::time_point until);
    bool Running(const std::function<bool()>& keepRunning) const;
    // A non-printer peer's side of the connection.
    void PeerReceived(const uint8_t* data, size_t size, LineRelay::Clock::time_point now);
    void PeerQuiet(LineRelay::Clock::time_point now);
    void PeerStream(LineRelay::Clock::time_point now);
    // Sends what the socket takes without waiting; false after ending a
    // connection that is gone.
    bool PeerSend(const std::vector<uint8_t>& bytes, bool logged);

    PrinterEngine& engine_;
    WireLog& log_;
    LineRelay relay_;
    TcpOptions options_;
    int listen_ = -1;
    int connection_ = -1;
    int wake_ = -1;
    std::atomic<bool> stopping_{false};
    std::string address_;
    int port_ = 0;
    std::unique_ptr<NonPrinterPeer> peer_; // while a connection is open
    bool halfClosed_ = false;
    LineRelay::Clock::time_point closeBy_{};
    LineRelay::Clock::time_point nextStream_{};
    uint64_t streamed_ = 0;
    // Run's own, for the waits inside it.
    const std::function<bool()>* keepRunning_ = nullptr;
};

} // namespace vprinter
