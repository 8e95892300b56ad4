// The printer exchanges over a TCP connection on loopback, against the
// virtual printer's engine served by a Winsock listener in this process.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "operations/printer_operation.h"
#include "printer/delete_exchange.h"
#include "printer/download_exchange.h"
#include "printer/listing_exchange.h"
#include "printer/port_lock.h"
#include "recording_printer_operator.h"
#include "tools/vprinter/printer_engine.h"

namespace {

// A printer's network interface on 127.0.0.1: one connection at a time,
// each played by the engine over the same memory. dropAfterBytes: the
// connection is reset once so many bytes of it came in (0: never).
class LoopbackPrinter {
public:
    explicit LoopbackPrinter(int listenBacklog = SOMAXCONN, bool serve = true) {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
        listen(m_listener, listenBacklog);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
        if (serve)
            m_thread = std::thread([this] { Serve(); });
    }
    ~LoopbackPrinter() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        closesocket(m_listener);
        WSACleanup();
    }
    PrinterAddress Address() const { return PrinterAddress::Network("127.0.0.1", port); }

    uint16_t port = 0;
    vprinter::RegistrationMemory memory;
    vprinter::FaultPlan faults;
    size_t dropAfterBytes = 0;

private:
    bool Readable(SOCKET s) const {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait{0, 20000};
        return select(0, &set, nullptr, nullptr, &wait) == 1;
    }
    void Serve() {
        while (!m_stop) {
            if (!Readable(m_listener))
                continue;
            SOCKET connection = accept(m_listener, nullptr, nullptr);
            if (connection == INVALID_SOCKET)
                continue;
            ServeConnection(connection);
            closesocket(connection);
        }
    }
    void ServeConnection(SOCKET connection) {
        vprinter::PrinterEngine engine(memory, faults);
        size_t received = 0;
        char buffer[4096];
        while (!m_stop) {
            if (!Readable(connection))
                continue;
            const int got = recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            received += size_t(got);
            if (dropAfterBytes && received >= dropAfterBytes) {
                linger reset{1, 0};
                setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&reset),
                           sizeof reset);
                return;
            }
            std::vector<vprinter::TimedBytes> out;
            engine.Receive(reinterpret_cast<uint8_t*>(buffer), size_t(got), out);
            for (const auto& piece : out)
                send(connection, reinterpret_cast<const char*>(piece.bytes.data()),
                     int(piece.bytes.size()), 0);
        }
    }

    SOCKET m_listener = INVALID_SOCKET;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct Steps : OutcomeHandler, DownloadProgress {
    int opened = 0, closed = 0, characters = 0;
    void PortOpened() override { ++opened; }
    void ApplyListing(const ListingUpdate&, ExtentChange) override {}
    void ClosePort() override { ++closed; }
    void TransferStarting() override {}
    void CharacterSent(uint32_t, uint32_t) override { ++characters; }
};

// Two 8 x 3 glyphs, A and B, with their glyph data.
struct TwoGlyphs {
    TwoGlyphs() {
        FontHeader h;
        h.bytes[0] = '0';
        h.bytes[1] = '7';
        h.bytes[FontHeader::kRegName] = 'N';
        h.SetWord(FontHeader::kCellWidth, 8);
        h.SetWord(FontHeader::kCellHeight, 3);
        h.SetDWord(FontHeader::kBytesPerGlyph, 3);
        h.SetDWord(FontHeader::kCharCount, 2);
        record.SetDownloadData(h, {{0x41, 0, 8, 3}, {0x42, 0, 8, 3}}, 3);
        record.BuildInfoBlock();
    }
    CFontPT record;
    std::vector<uint8_t> glyphs{0x11, 0x13, 0x00, 0x13, 0x11, 0x00};
};

PrinterResult RunOn(const PrinterAddress& printer, Steps& steps,
                    const std::function<ExchangeOutcome(PrinterLink&, PrinterOperator&)>& exchange,
                    PrinterReport* told = nullptr) {
    RecordingPrinterOperator op;
    ExchangeOutcome outcome;
    RunPrinterOperation(
        printer, op, steps, [&](PrinterLink& link) { return exchange(link, op); }, &outcome);
    if (op.reports.empty())
        return PrinterResult::Done;
    if (told)
        *told = op.reports.back();
    return op.reports.back().result;
}

TEST(TcpLink, ExchangesRunAsOnTheLine) {
    LoopbackPrinter printer;
    TwoGlyphs font;
    Steps steps;
    auto download = [&](PrinterLink& link, PrinterOperator& op) {
        return DownloadRegistration(link, font.record, font.glyphs.data(), font.glyphs.size(), op,
                                    steps);
    };
    auto query = [](PrinterLink& link, PrinterOperator&) { return QueryRegisteredData(link); };
    auto remove = [](PrinterLink& link, PrinterOperator& op) {
        return DeleteRegisteredData(link, 7, op);
    };
    EXPECT_EQ(RunOn(printer.Address(), steps, download), PrinterResult::Done);
    EXPECT_EQ(steps.characters, 2);
    ASSERT_NE(printer.memory.Find(7), nullptr);
    EXPECT_EQ(RunOn(printer.Address(), steps, query), PrinterResult::Done);
    EXPECT_EQ(RunOn(printer.Address(), steps, remove), PrinterResult::Done);
    EXPECT_EQ(printer.memory.Find(7), nullptr);
    EXPECT_EQ(RunOn(printer.Address(), steps, query), PrinterResult::NothingRegistered);
    // Every operation connected once and closed once.
    EXPECT_EQ(steps.opened, 4);
    EXPECT_EQ(steps.closed, 4);
}

TEST(TcpLink, EachFailureIsToldWithTheAddress) {
    auto query = [](PrinterLink& link, PrinterOperator&) { return QueryRegisteredData(link); };
    TwoGlyphs font;
    Steps steps;
    auto download = [&](PrinterLink& link, PrinterOperator& op) {
        return DownloadRegistration(link, font.record, font.glyphs.data(), font.glyphs.size(), op,
                                    steps);
    };
    PrinterReport told;

    // Nothing listens on a port that was just given up.
    PrinterAddress closed;
    {
        LoopbackPrinter gone(SOMAXCONN, false);
        closed = gone.Address();
    }
    EXPECT_EQ(RunOn(closed, steps, query, &told), PrinterResult::NetworkRefused);
    EXPECT_EQ(told.printer, "127.0.0.1:" + std::to_string(closed.tcpPort));

    EXPECT_EQ(RunOn(PrinterAddress::Network("no-such-printer.invalid"), steps, query, &told),
              PrinterResult::NetworkNameNotFound);
    EXPECT_EQ(told.printer, "no-such-printer.invalid:9100");

    LoopbackPrinter dropping;
    dropping.dropAfterBytes = 40; // within the download's header
    EXPECT_EQ(RunOn(dropping.Address(), steps, download, &told),
              PrinterResult::NetworkConnectionLost);
    EXPECT_EQ(dropping.memory.Find(7), nullptr);

    // Held by another program of the session.
    LoopbackPrinter held;
    PortLock other = PortLock::Acquire(held.Address());
    ASSERT_TRUE(other.IsHeld());
    EXPECT_EQ(RunOn(held.Address(), steps, query, &told), PrinterResult::NetworkInUse);
    other.Unlock();
    EXPECT_EQ(RunOn(held.Address(), steps, query), PrinterResult::NothingRegistered);

    // A listener whose queue is full drops the handshake: no answer within
    // the connect time-out.
    LoopbackPrinter full(0, false);
    SOCKET queued = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(full.port);
    ASSERT_EQ(connect(queued, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    EXPECT_EQ(RunOn(full.Address(), steps, query, &told), PrinterResult::NetworkNoAnswer);
    closesocket(queued);
    // The wait cursor came and went around every connection attempt.
    EXPECT_EQ(steps.opened, steps.closed);
}

} // namespace
