// The virtual printer on a TCP port, spoken to through a socket as the tool's
// network link would: one operation a connection.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/tools/vprinter_test_util.h"
#include "tools/vprinter/command_line.h"
#include "tools/vprinter/tcp_printer.h"

using namespace vprinter;
using namespace vprinter_test;

namespace {

const Bytes kNothingRegistered{0x02, 'A', '0', '0', '0', '0', '0', '0', '0', '0', 0x03};

class TcpTest : public ::testing::Test {
protected:
    void StartPrinter(TcpOptions options = {}, const std::string& host = "127.0.0.1") {
        engine = std::make_unique<PrinterEngine>(memory, faults);
        printer = std::make_unique<TcpPrinter>(*engine, log, options);
        std::string error;
        ASSERT_TRUE(printer->Listen(host, 0, &error)) << error;
        thread = std::thread([this] { printer->Run(); });
    }
    void TearDown() override {
        if (printer)
            printer->Stop();
        if (thread.joinable())
            thread.join();
    }
    int Connect(const std::string& host = "127.0.0.1") { return ConnectTo(host, printer->Port()); }
    static int ConnectTo(const std::string& host, int port) {
        sockaddr_storage address{};
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        const bool six = host.find(':') != std::string::npos;
        address.ss_family = six ? AF_INET6 : AF_INET;
        (six ? v6->sin6_port : v4->sin_port) = htons(uint16_t(port));
        inet_pton(address.ss_family, host.c_str(), six ? (void*)&v6->sin6_addr : &v4->sin_addr);
        const int fd = socket(address.ss_family, SOCK_STREAM, 0);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return fd;
    }
    // Closes with a reset instead of the orderly end.
    static void Reset(int fd) {
        const linger abort{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        close(fd);
    }
    static void Write(int fd, const Bytes& bytes) {
        ASSERT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    static Bytes Read(int fd, size_t count, int ms = 3000, int* error = nullptr) {
        return ReadUpTo(fd, count, ms, error);
    }

    RegistrationMemory memory;
    FaultPlan faults;
    WireLog log;
    std::unique_ptr<PrinterEngine> engine;
    std::unique_ptr<TcpPrinter> printer;
    std::thread thread;
};

TEST_F(TcpTest, DownloadAndListingAnswerAsTheEngineDoes) {
    const Bytes header = DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 3));
    const std::vector<std::vector<Bytes>> operations = {
        {header, kProceed, Frame(0x41, 9, 1, {0x11, 0x13}), Frame(0x42, 10, 1, {0x13, 0x11}),
         Frame(0x3042, 16, 1, {0xFF, 0x80})},
        {kInfoRequest, kProceed},
    };
    const struct {
        const char* host;
        int baud;
    } lines[] = {{"127.0.0.1", 0}, {"::1", 9600}};
    for (const auto& line : lines) {
        SCOPED_TRACE(line.host);
        RegistrationMemory reference;
        reference.Store(MakeLogo(2, "Logo", 8, 8));
        memory = reference;
        PrinterEngine direct(reference, faults);
        TcpOptions options;
        options.line.baud = line.baud;
        StartPrinter(options, line.host);
        for (const auto& operation : operations) {
            const int fd = Connect(line.host);
            for (const Bytes& step : operation) {
                std::vector<TimedBytes> pieces;
                direct.Receive(step.data(), step.size(), pieces);
                Bytes expected;
                for (const auto& p : pieces)
                    expected.insert(expected.end(), p.bytes.begin(), p.bytes.end());
                ASSERT_FALSE(expected.empty());
                Write(fd, step);
                EXPECT_EQ(Read(fd, expected.size()), expected);
            }
            close(fd);
        }
        TearDown();
    }
}

// A paced reply leaves in pieces of kPacedPiece of line time, not a byte at a
// time; when the tool goes in the middle, the log holds only what left.
TEST_F(TcpTest, PacedReplyLeavesInPiecesAndTheLogHoldsWhatLeft) {
    const std::string logPath = ::testing::TempDir() + "vprinter_tcp_paced.log";
    std::remove(logPath.c_str());
    ASSERT_TRUE(log.Open(logPath));
    for (int id = 0; id < 100; ++id)
        memory.Store(MakeLogo(id, "Logo", 8, 8));
    // STX, the records, ETX; 10 ms of line time at 115200 baud.
    const size_t listing = memory.RecordData().size() + 2, pieceBytes = 115;
    TcpOptions options;
    options.line.baud = 115200;
    StartPrinter(options);
    const auto askForListing = [&](int fd) {
        Write(fd, kInfoRequest);
        EXPECT_EQ(Read(fd, 11).size(), 11u);
        Write(fd, kProceed);
    };
    int fd = Connect();
    askForListing(fd);
    const timeval wait{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    size_t got = 0, reads = 0;
    for (uint8_t buffer[4096]; got < listing; ++reads) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        ASSERT_GT(n, 0);
        got += size_t(n);
    }
    EXPECT_LE(reads, (listing + pieceBytes - 1) / pieceBytes);
    close(fd);
    fd = Connect();
    askForListing(fd);
    EXPECT_EQ(Read(fd, 1), Bytes{0x02});
    Reset(fd);
    // The next connection is served once the printer is done with that one.
    fd = Connect();
    Write(fd, kInfoRequest);
    EXPECT_EQ(Read(fd, 11).size(), 11u);
    close(fd);
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    const size_t sent = ParseWireLog(text.str()).sent.size();
    EXPECT_GT(sent, 3 * 11 + listing);
    EXPECT_LT(sent, 3 * 11 + 2 * listing);
}

TEST_F(TcpTest, ConnectionResetDuringCharacterKStoresNothingOfIt) {
    faults.dropLinkCharacter = 2;
    StartPrinter();
    const int fd = Connect();
    Write(fd, DownloadHeader(InfoBlock("07", "Two", 16, 1, 2, 2)));
    EXPECT_EQ(Read(fd, 3), (Bytes{0x02, 'A', 0x03}));
    Write(fd, kProceed);
    EXPECT_EQ(Read(fd, 3), (Bytes{0x02, 'O', 0x03}));
    Write(fd, Frame(0x41, 9, 1, {0x11, 0x13}));
    EXPECT_EQ(Read(fd, 1), Bytes{0x06});
    Write(fd, Frame(0x42, 9, 1, {0x13, 0x11}));
    int error = -1;
    EXPECT_TRUE(Read(fd, 1, 3000, &error).empty());
    EXPECT_EQ(error, ECONNRESET);
    close(fd);
    // The printer takes the next connection, and holds nothing of the download.
    const int next = Connect();
    Write(next, kInfoRequest);
    EXPECT_EQ(Read(next, 11), kNothingRegistered);
    close(next);
}

TEST_F(TcpTest, SecondConnectionWaitsUntilTheFirstCloses) {
    StartPrinter();
    const int first = Connect();
    Write(first, kInfoRequest);
    EXPECT_EQ(Read(first, 11), kNothingRegistered);
    const int second = Connect();
    Write(second, kInfoRequest);
    EXPECT_TRUE(Read(second, 11, 300).empty());
    close(first);
    EXPECT_EQ(Read(second, 11), kNothingRegistered);
    close(second);
}

TEST_F(TcpTest, AcceptDelayHoldsTheAnswerBack) {
    TcpOptions options;
    options.acceptDelayMs = 600;
    StartPrinter(options);
    const int fd = Connect();
    Write(fd, kInfoRequest);
    EXPECT_TRUE(Read(fd, 11, 200).empty());
    EXPECT_EQ(Read(fd, 11), kNothingRegistered);
    close(fd);
}

TEST_F(TcpTest, ClientsThatLeaveEarlyLeaveNothingForTheNext) {
    const Bytes header = DownloadHeader(InfoBlock("07", "Two", 16, 1, 2, 2));
    const struct {
        Bytes sent;
        bool reset;
    } clients[] = {
        {{}, false},
        {{}, true},
        {Bytes(header.begin(), header.begin() + 50), false},
        {Cat({header, kProceed, {0x02, 0x41, 0x00}}), true},
    };
    StartPrinter();
    for (const auto& client : clients) {
        SCOPED_TRACE(client.sent.size());
        const int fd = Connect();
        if (!client.sent.empty())
            Write(fd, client.sent);
        client.reset ? Reset(fd) : void(close(fd));
        // Were any of those bytes kept, they would swallow this request.
        const int next = Connect();
        Write(next, kInfoRequest);
        EXPECT_EQ(Read(next, 11), kNothingRegistered);
        close(next);
    }
}

// Whatever is on the port, the tool asks first for the listing; none of these
// gives it a printer's answer.
TEST_F(TcpTest, NotPrinterPeersAnswerTheInfoRequest) {
    const Bytes unknownCode{0x02, 'Z', '0', '0', '0', '0', '0', '0', '0', '0', 0x03};
    const std::string page = "HTTP/1.1 400 Bad Request\r\n";
    const struct {
        NonPrinterOptions peer;
        size_t count; // read after the info request, fewer only when the peer closes
        Bytes first;  // what those start with
        // After junk and a second info request: how many bytes come, then the
        // start of them (0: the peer has closed).
        size_t moreCount;
        Bytes more;
    } peers[] = {
        {{NonPrinterKind::Http}, 4096, Bytes(page.begin(), page.end()), 0, {}},
        {{NonPrinterKind::Random, 7}, 100, {}, 100, {}},
        {{NonPrinterKind::Stream}, 64, Bytes(64, 'x'), 64, Bytes(64, 'x')},
        {{NonPrinterKind::UnknownCode}, 11, unknownCode, 11, unknownCode},
    };
    for (const auto& c : peers) {
        SCOPED_TRACE(DescribeNonPrinter(c.peer));
        TcpOptions options;
        options.notPrinter = c.peer;
        StartPrinter(options);
        const int fd = Connect();
        Write(fd, kInfoRequest);
        const Bytes got = Read(fd, c.count);
        ASSERT_GE(got.size(), c.first.size());
        EXPECT_TRUE(std::equal(c.first.begin(), c.first.end(), got.begin()));
        Write(fd, Cat({{0x01, '?', 0x01}, kInfoRequest}));
        int error = -1;
        const Bytes more = Read(fd, std::max<size_t>(c.moreCount, 1), 3000, &error);
        EXPECT_EQ(more.size(), c.moreCount);
        EXPECT_EQ(error, c.moreCount == 0 ? 0 : -1);
        EXPECT_TRUE(std::equal(c.more.begin(), c.more.end(), more.begin()));
        close(fd);
        // Each connection meets the peer anew: random repeats its seed.
        const int next = Connect();
        Write(next, kInfoRequest);
        EXPECT_EQ(Read(next, c.count), got);
        close(next);
        TearDown();
    }
}

size_t OpenDescriptors() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        count += entry.is_symlink() ? 1 : 0;
    return count;
}

TEST_F(TcpTest, SixtyFourPrintersStopMidConnectionAndCloseEverything) {
    const size_t before = OpenDescriptors();
    struct Printer {
        RegistrationMemory memory;
        WireLog log;
        std::unique_ptr<PrinterEngine> engine;
        std::unique_ptr<TcpPrinter> tcp;
        std::thread thread;
    };
    std::vector<Printer> printers(64);
    std::vector<int> clients;
    for (Printer& p : printers) {
        p.engine = std::make_unique<PrinterEngine>(p.memory, faults);
        p.tcp = std::make_unique<TcpPrinter>(*p.engine, p.log, TcpOptions{});
        ASSERT_TRUE(p.tcp->Listen("127.0.0.1", 0, nullptr));
        p.thread = std::thread([&p] { p.tcp->Run(); });
        clients.push_back(ConnectTo("127.0.0.1", p.tcp->Port()));
        Write(clients.back(), kInfoRequest);
        ASSERT_EQ(Read(clients.back(), 11), kNothingRegistered);
    }
    for (Printer& p : printers)
        p.tcp->Stop();
    for (size_t i = 0; i < printers.size(); ++i) {
        printers[i].thread.join();
        int error = -1;
        EXPECT_TRUE(Read(clients[i], 1, 3000, &error).empty());
        EXPECT_EQ(error, 0); // closed by the printer as it stopped
        close(clients[i]);
    }
    printers.clear();
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(ServeOptionsTest, TakesExactlyOneLineAndItsAddress) {
    const struct {
        Options options;
        const char* host; // nullptr: refused
        int port;
    } cases[] = {
        {{{"tcp", "9100"}}, "127.0.0.1", 9100},
        {{{"tcp", "0.0.0.0:0"}, {"drop-connection-at", "3"}, {"accept-delay", "50"}}, "0.0.0.0", 0},
        {{{"tcp", "[::1]:9100"}}, "::1", 9100},
        {{{"tcp", "::1:9100"}}, nullptr, 0},
        {{{"tcp", "65536"}}, nullptr, 0},
        {{{"tcp", "host:"}}, nullptr, 0},
        {{{"tcp", "9100"}, {"link", "COM1"}}, nullptr, 0},
        {{{"state", "x"}}, nullptr, 0},
        {{{"link", "COM1"}, {"drop-connection-at", "3"}}, nullptr, 0},
        {{{"tcp", "9100"}, {"not-printer", "random"}, {"seed", "7"}}, "127.0.0.1", 9100},
        {{{"tcp", "9100"}, {"not-printer", "ftp"}}, nullptr, 0},
        {{{"tcp", "9100"}, {"not-printer", "http"}, {"state", "x"}}, nullptr, 0},
        {{{"tcp", "9100"}, {"not-printer", "http"}, {"wrong-ack", "2"}}, nullptr, 0},
        {{{"tcp", "9100"}, {"not-printer", "http"}, {"seed", "7"}}, nullptr, 0},
        {{{"tcp", "9100"}, {"not-printer", "stream"}, {"stream-byte", "100"}}, nullptr, 0},
        {{{"link", "COM1"}, {"not-printer", "http"}}, nullptr, 0},
    };
    for (const auto& c : cases) {
        ServeOptions serve;
        std::string error;
        const bool ok = ParseServeOptions(c.options, serve, error);
        SCOPED_TRACE(c.options.begin()->second + " " + error);
        ASSERT_EQ(ok, c.host != nullptr);
        if (ok) {
            EXPECT_EQ(serve.tcpHost, c.host);
            EXPECT_EQ(serve.tcpPort, c.port);
        }
    }
}

} // namespace
