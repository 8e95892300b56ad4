#include "printer/tcp_link.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "printer/printer_stop.h"

namespace {

// Winsock is started once for the program and never stopped: printer
// operations run on several threads and a stop would pull the network from
// under another one's connection.
bool NetworkStarted() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

using Clock = std::chrono::steady_clock;

unsigned MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? unsigned(left) : 0;
}

timeval ToTimeval(unsigned ms) {
    timeval tv{};
    tv.tv_sec = long(ms / 1000);
    tv.tv_usec = long(ms % 1000) * 1000;
    return tv;
}

void SetBlocking(SOCKET socket, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
}

// Waits until the connection on s is made or refused, the deadline passes
// or the operation is stopped, looking at the stop every few milliseconds:
// select's result for the last wait.
int WaitForConnection(SOCKET s, Clock::time_point deadline, const PrinterStop* stop,
                      fd_set& writable, fd_set& failed) {
    const unsigned kStopLookMs = 50;
    for (;;) {
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        const unsigned left = MillisecondsLeft(deadline);
        timeval wait = ToTimeval(stop ? std::min(left, kStopLookMs) : left);
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready != 0 || MillisecondsLeft(deadline) == 0 || (stop && stop->Stopped()))
            return ready;
    }
}

// One address of the printer's, within what is left of the connect time:
// the connected socket, or INVALID_SOCKET with failure set.
SOCKET ConnectTo(const addrinfo& address, Clock::time_point deadline, const PrinterStop* stop,
                 PrinterResult& failure) {
    const SOCKET s = socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    failure = PrinterResult::NetworkRefused;
    if (s == INVALID_SOCKET)
        return s;
    SetBlocking(s, false);
    if (connect(s, address.ai_addr, int(address.ai_addrlen)) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    // A refused connection is reported as an exception, an accepted one
    // as writable.
    fd_set writable, failed;
    const int ready = WaitForConnection(s, deadline, stop, writable, failed);
    int error = 0;
    int size = sizeof error;
    if (ready != 1 || !FD_ISSET(s, &writable) ||
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0 ||
        error != 0) {
        if (ready == 0)
            failure =
                stop && stop->Stopped() ? PrinterResult::Stopped : PrinterResult::NetworkNoAnswer;
        closesocket(s);
        return INVALID_SOCKET;
    }
    SetBlocking(s, true);
    // Every frame waits for its acknowledgement: with Nagle's algorithm and
    // the peer's delayed acknowledgement a small frame could wait up to
    // 200 ms for the one before it.
    BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    return s;
}

using AddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

// "127.0.0.1:9100", "[::1]:9100"; empty when the system cannot write it.
std::string EndpointText(const addrinfo& address) {
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (getnameinfo(address.ai_addr, int(address.ai_addrlen), host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return std::string();
    const std::string text = host;
    return (text.find(':') == std::string::npos ? text : "[" + text + "]") + ":" + service;
}

// The addresses a printer's host and port stand for, in the order a
// connection tries them; empty when the name does not resolve.
AddressList Resolve(const PrinterAddress& printer) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    // An address goes to the resolver as a literal only: it must not try
    // it as a name, nor read it in a spelling other than the one parsed.
    hints.ai_flags = IsNumericHost(printer) ? AI_NUMERICHOST : 0;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(printer.tcpPort);
    if (!NetworkStarted() ||
        getaddrinfo(printer.host.c_str(), service.c_str(), &hints, &found) != 0)
        found = nullptr;
    return AddressList(found, freeaddrinfo);
}

} // namespace

std::vector<std::string> PrinterEndpoints(const PrinterAddress& printer) {
    std::vector<std::string> endpoints;
    // An IPv4 address as the parser takes it is already in the form the
    // resolver would give back: no trip to the resolver for each of a
    // fleet's printers.
    if (KindOfHost(printer.host) == HostKind::Ipv4)
        return {std::to_string(AF_INET) + " " + printer.host + " " +
                std::to_string(printer.tcpPort)};
    const AddressList addresses = Resolve(printer);
    for (const addrinfo* a = addresses.get(); a; a = a->ai_next) {
        char host[NI_MAXHOST] = {};
        char service[NI_MAXSERV] = {};
        if (getnameinfo(a->ai_addr, int(a->ai_addrlen), host, sizeof host, service, sizeof service,
                        NI_NUMERICHOST | NI_NUMERICSERV) == 0)
            endpoints.push_back(std::to_string(a->ai_family) + " " + HostWithoutIdleZone(host) +
                                " " + service);
    }
    return endpoints;
}

SOCKET ConnectToPrinter(const PrinterAddress& printer, PrinterResult& failure,
                        const PrinterStop* stop, std::string* endpoint) {
    failure = PrinterResult::NetworkRefused;
    if (!NetworkStarted())
        return INVALID_SOCKET;
    const AddressList addresses = Resolve(printer);
    const addrinfo* found = addresses.get();
    if (!found) {
        failure = PrinterResult::NetworkNameNotFound;
        return INVALID_SOCKET;
    }
    // A name may stand for several addresses (IPv6 and IPv4): each is tried
    // in the resolver's order within the one connect time-out. A refusal
    // anywhere is the more telling failure.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    bool refused = false;
    for (const addrinfo* address = found; address && MillisecondsLeft(deadline) > 0;
         address = address->ai_next) {
        PrinterResult attempt = PrinterResult::NetworkNoAnswer;
        const SOCKET s = ConnectTo(*address, deadline, stop, attempt);
        if (s != INVALID_SOCKET) {
            // Written now: a connection the peer resets at once has no peer
            // to ask later, and it was reached all the same.
            if (endpoint)
                *endpoint = EndpointText(*address);
            return s;
        }
        if (attempt == PrinterResult::Stopped) {
            failure = attempt;
            return INVALID_SOCKET;
        }
        refused = refused || attempt == PrinterResult::NetworkRefused;
    }
    failure = refused ? PrinterResult::NetworkRefused : PrinterResult::NetworkNoAnswer;
    return INVALID_SOCKET;
}

bool TcpPrinterLink::WriteBlock(const uint8_t* data, size_t count) {
    while (count > 0 && !m_bLost) {
        const int sent = send(m_socket, reinterpret_cast<const char*>(data),
                              int(std::min<size_t>(count, 1 << 20)), 0);
        if (sent <= 0) {
            m_bLost = true;
            break;
        }
        data += sent;
        count -= size_t(sent);
    }
    return !m_bLost;
}

bool TcpPrinterLink::Receive(unsigned timeoutMs) {
    // A blocking receive bounded by the socket's time-out is one call, as a
    // serial read is: waiting for readability first would double the calls
    // for every acknowledgement (each a trip to the system, under Wine to
    // its server). The time-out is set again only when it changes, and the
    // characters of a download all wait for their ACK with the same one.
    if (timeoutMs != m_receiveTimeoutMs) {
        const DWORD value = timeoutMs;
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value),
                   sizeof value);
        m_receiveTimeoutMs = timeoutMs;
    }
    const int read =
        recv(m_socket, reinterpret_cast<char*>(m_received.data()), int(m_received.size()), 0);
    if (read > 0) {
        m_receivedBegin = 0;
        m_receivedEnd = size_t(read);
        return true;
    }
    // Zero: the peer closed the connection. A time-out leaves it usable
    // (Windows documents its state as undefined after one, but every
    // version keeps it working, and so does Wine); anything else broke it.
    if (read == 0 || WSAGetLastError() != WSAETIMEDOUT)
        m_bLost = true;
    return false;
}

size_t TcpPrinterLink::ReadWithin(uint8_t* buffer, size_t count, unsigned timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t got = 0;
    // The first wait takes the whole time-out, later ones what is left.
    unsigned wait = timeoutMs;
    while (got < count && !m_bLost) {
        if (m_receivedBegin == m_receivedEnd) {
            if (wait == 0 || !Receive(wait))
                break;
            wait = MillisecondsLeft(deadline);
            continue;
        }
        const size_t take = std::min(count - got, m_receivedEnd - m_receivedBegin);
        std::copy_n(m_received.data() + m_receivedBegin, take, buffer + got);
        m_receivedBegin += take;
        got += take;
    }
    return got;
}

bool TcpPrinterLink::ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) {
    if (count == 0)
        return true;
    // As on the serial line: a short attempt is dropped whole, the next
    // reads into the start of the buffer. What came after the bytes asked
    // for waits for the next read, as in the serial driver's buffer.
    const unsigned timeoutMs = unsigned(std::min<uint64_t>(
        ReadAttemptTimeoutMs(count, constantMs), std::numeric_limits<unsigned>::max() / 2));
    for (int attempt = 0; attempt < kLinkReadAttempts && !m_bLost; ++attempt)
        if (ReadWithin(buffer, count, timeoutMs) == count)
            return true;
    return false;
}

void TcpPrinterLink::Cut() {
    // The shutdown ends what comes later; a receive already waiting is
    // cancelled, since not every system wakes it for the shutdown.
    shutdown(m_socket, SD_BOTH);
    CancelIoEx(reinterpret_cast<HANDLE>(m_socket), nullptr);
}

bool TcpPrinterLink::BytesWaiting() {
    if (m_receivedBegin != m_receivedEnd)
        return true;
    u_long queued = 0;
    return ioctlsocket(m_socket, FIONREAD, &queued) == 0 && queued > 0;
}

TcpPrinterLink::TcpPrinterLink(SOCKET socket, std::string endpoint)
    : m_socket(socket), m_peerAddress(std::move(endpoint)) {}
