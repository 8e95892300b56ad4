#include "tools/vprinter/tcp_printer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace vprinter {

namespace {

// Room for a few tools trying at once; a real print server keeps about as many.
constexpr int kListenQueue = 16;
// How often a wait looks at whether it should stop.
constexpr auto kStopCheck = std::chrono::milliseconds(50);
// A streaming peer sends this much this often: a reader never runs dry, and
// the loop neither spins a core nor waits on a peer that does not read.
constexpr size_t kStreamChunk = 64;
constexpr auto kStreamInterval = std::chrono::milliseconds(10);
// How long a peer that has given its whole answer waits for the tool to close.
constexpr auto kCloseWait = std::chrono::seconds(2);

std::string Describe(const sockaddr* address, socklen_t length) {
    char host[NI_MAXHOST], service[NI_MAXSERV];
    if (getnameinfo(address, length, host, sizeof host, service, sizeof service,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "?";
    return address->sa_family == AF_INET6 ? "[" + std::string(host) + "]:" + service
                                          : std::string(host) + ":" + service;
}

} // namespace

bool ParseTcpAddress(const std::string& text, std::string& host, int& port) {
    std::string portText = text;
    host = "127.0.0.1";
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find("]:");
        if (close == std::string::npos || close < 2)
            return false;
        host = text.substr(1, close - 1);
        portText = text.substr(close + 2);
    } else if (const size_t colon = text.find(':'); colon != std::string::npos) {
        // A bare IPv6 address would leave its port unclear: it wants brackets.
        if (colon == 0 || text.find(':', colon + 1) != std::string::npos)
            return false;
        host = text.substr(0, colon);
        portText = text.substr(colon + 1);
    }
    if (portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::stoi(portText);
    return port <= 65535;
}

TcpPrinter::TcpPrinter(PrinterEngine& engine, WireLog& log, TcpOptions options)
    : engine_(engine), log_(log), relay_(engine, log, options.line), options_(options),
      wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    relay_.waitUntil = [this](LineRelay::Clock::time_point until) { return WaitUntil(until); };
}

TcpPrinter::~TcpPrinter() {
    for (const int fd : {connection_, listen_, wake_})
        if (fd >= 0)
            close(fd);
}

bool TcpPrinter::Listen(const std::string& host, int port, std::string* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0) {
        if (error)
            *error = "address " + host + ": " + gai_strerror(lookup);
        return false;
    }
    std::string why = "no address";
    for (const addrinfo* a = found; a && listen_ < 0; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const int one = 1;
        // A printer started again at once must not find its port still held
        // by the connections of the last run.
        if (fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == 0 &&
            bind(fd, a->ai_addr, a->ai_addrlen) == 0 && listen(fd, kListenQueue) == 0) {
            listen_ = fd;
            break;
        }
        why = std::strerror(errno);
        if (fd >= 0)
            close(fd);
    }
    freeaddrinfo(found);
    if (listen_ < 0) {
        if (error)
            *error = "cannot listen on " + host + " port " + std::to_string(port) + ": " + why;
        return false;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&bound), &length);
    address_ = Describe(reinterpret_cast<sockaddr*>(&bound), length);
    port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                              : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    log_.Note("listening on " + address_);
    return true;
}

void TcpPrinter::Stop() {
    stopping_ = true;
    const uint64_t one = 1;
    if (wake_ >= 0 && write(wake_, &one, sizeof one) < 0) {
        // Already signalled to the limit of the counter: a stop is pending anyway.
    }
}

bool TcpPrinter::Running(const std::function<bool()>& keepRunning) const {
    return !stopping_ && (!keepRunning || keepRunning());
}

void TcpPrinter::Run(const std::function<bool()>& keepRunning) {
    if (listen_ < 0)
        return;
    // Pacing sleeps for single byte times, as on the pty.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    keepRunning_ = &keepRunning;
    std::vector<uint8_t> buffer(4096);
    while (Running(keepRunning)) {
        short events = POLLIN;
        int timeout = int(kStopCheck.count());
        if (peer_ && peer_->Streams()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(nextStream_ - LineRelay::Clock::now());
            if (wait.count() <= 0)
                events |= POLLOUT;
            else
                timeout = std::min(timeout, int(wait.count()));
        }
        // While a connection is served the listen socket is not looked at:
        // the next tool waits in its queue until this one is done.
        pollfd p[2] = {{connection_ >= 0 ? connection_ : listen_, events, 0}, {wake_, POLLIN, 0}};
        const int ready = poll(p, wake_ >= 0 ? 2 : 1, timeout);
        const auto now = LineRelay::Clock::now();
        if (ready > 0 && (p[0].revents & POLLOUT)) {
            PeerStream(now);
            if (connection_ < 0)
                continue;
        }
        if (ready <= 0 || !(p[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            if (peer_)
                PeerQuiet(now);
            else if (connection_ >= 0)
                relay_.Quiet(now);
            continue;
        }
        if (connection_ < 0) {
            Accept();
            continue;
        }
        const ssize_t n = recv(connection_, buffer.data(), buffer.size(), 0);
        if (n > 0 && peer_) {
            PeerReceived(buffer.data(), size_t(n), now);
        } else if (n > 0) {
            relay_.Take(buffer.data(), size_t(n), now);
            if (engine_.TakeLinkDrop())
                EndConnection(true, "reset by the printer");
        } else if (n == 0) {
            EndConnection(false, "closed by the tool");
        } else if (errno != EAGAIN && errno != EINTR) {
            EndConnection(false, std::string("lost: ") + std::strerror(errno));
        }
    }
    if (connection_ >= 0)
        EndConnection(false, "closed: the printer stops");
    keepRunning_ = nullptr;
}

void TcpPrinter::Accept() {
    // The kernel has completed the handshake already; the tool sees a
    // connection that takes its bytes but answers nothing until accepted.
    if (options_.acceptDelayMs > 0 &&
        !WaitUntil(LineRelay::Clock::now() + std::chrono::milliseconds(options_.acceptDelayMs)))
        return;
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    const int fd =
        accept4(listen_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // Replies are a few bytes each and the tool waits for every one of them.
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    connection_ = fd;
    const std::string from = Describe(reinterpret_cast<sockaddr*>(&peer), length);
    if (options_.notPrinter) {
        peer_ = std::make_unique<NonPrinterPeer>(*options_.notPrinter);
        halfClosed_ = false;
        nextStream_ = LineRelay::Clock::now();
        streamed_ = 0;
        log_.Note("connection from " + from + ", played as " +
                  DescribeNonPrinter(*options_.notPrinter) + " (not a printer)");
        return;
    }
    relay_.Attach(fd, true);
    log_.Note("connection from " + from);
}

void TcpPrinter::EndConnection(bool reset, const std::string& why) {
    if (reset) {
        // Closing with a zero linger time sends a reset instead of the
        // orderly end, as a printer's interface that loses the session does.
        const linger abort{1, 0};
        setsockopt(connection_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    close(connection_);
    connection_ = -1;
    if (peer_) {
        const bool streamed = peer_->Streams();
        peer_.reset();
        log_.Note("connection " + why +
                  (streamed ? ", " + std::to_string(streamed_) + " bytes streamed" : ""));
        return;
    }
    relay_.Attach(-1, true);
    log_.Note("connection " + why);
    engine_.LinkClosed();
}

void TcpPrinter::PeerReceived(const uint8_t* data, size_t size, LineRelay::Clock::time_point now) {
    log_.Received(data, size);
    std::vector<uint8_t> answer;
    peer_->Receive(data, size, answer);
    if (!answer.empty() && !PeerSend(answer, true))
        return;
    if (peer_->Finished() && !halfClosed_) {
        // Its own side first, as a web server closes: closing outright with
        // bytes of the tool's still unread would reset the connection, and
        // the reset can overtake the answer. What comes meanwhile is dropped.
        shutdown(connection_, SHUT_WR);
        halfClosed_ = true;
        closeBy_ = now + kCloseWait;
    }
}

void TcpPrinter::PeerQuiet(LineRelay::Clock::time_point now) {
    if (halfClosed_ && now > closeBy_)
        EndConnection(false, "closed by the peer after its answer");
}

void TcpPrinter::PeerStream(LineRelay::Clock::time_point now) {
    std::vector<uint8_t> chunk;
    peer_->Stream(kStreamChunk, chunk);
    if (PeerSend(chunk, false))
        nextStream_ = now + kStreamInterval;
}

bool TcpPrinter::PeerSend(const std::vector<uint8_t>& bytes, bool logged) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(connection_, bytes.data() + sent, bytes.size() - sent,
                               MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno != EAGAIN) {
            EndConnection(false, std::string("lost: ") + std::strerror(errno));
            return false;
        } else {
            break;
        }
    }
    if (!logged) {
        streamed_ += sent;
        return true;
    }
    if (sent > 0)
        log_.Sent(bytes.data(), sent);
    if (sent < bytes.size())
        log_.Note("the tool does not read: the rest of this answer was dropped");
    return true;
}

bool TcpPrinter::WaitUntil(LineRelay::Clock::time_point until) {
    const std::function<bool()> none;
    while (Running(keepRunning_ ? *keepRunning_ : none)) {
        const auto left = until - LineRelay::Clock::now();
        if (left <= std::chrono::nanoseconds(0))
            return true;
        const auto step = std::min<std::chrono::nanoseconds>(left, kStopCheck);
        const timespec time{time_t(step.count() / 1'000'000'000),
                            long(step.count() % 1'000'000'000)};
        pollfd p{wake_, POLLIN, 0};
        ppoll(&p, wake_ >= 0 ? 1 : 0, &time, nullptr);
    }
    return false;
}

} // namespace vprinter
