// The virtual printer on a real pseudo-terminal, spoken to through its link as
// the tool's serial port would.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/tools/vprinter_test_util.h"
#include "tools/vprinter/pty_printer.h"

using namespace vprinter;
using namespace vprinter_test;

namespace {

class LineTest : public ::testing::Test {
protected:
    void StartPrinter(LineOptions options = {}) {
        link = ::testing::TempDir() + "vprinter_line_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        logPath = link + ".log";
        std::remove(logPath.c_str());
        ASSERT_TRUE(log.Open(logPath));
        engine = std::make_unique<PrinterEngine>(memory, faults);
        printer = std::make_unique<PtyPrinter>(*engine, log, options);
        std::string error;
        ASSERT_TRUE(printer->Open(link, &error)) << error;
        thread = std::thread([this] { printer->Run([this] { return !stop; }); });
        port = open(link.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(port, 0);
    }
    void TearDown() override {
        if (port >= 0)
            close(port);
        stop = true;
        if (thread.joinable())
            thread.join();
        printer.reset();
        std::remove(logPath.c_str());
    }
    void Write(const Bytes& bytes) {
        ASSERT_EQ(write(port, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Reads exactly `count` bytes or gives up after two seconds.
    Bytes Read(size_t count) { return ReadUpTo(port, count, 2000); }

    RegistrationMemory memory;
    FaultPlan faults;
    WireLog log;
    std::unique_ptr<PrinterEngine> engine;
    std::unique_ptr<PtyPrinter> printer;
    std::atomic<bool> stop{false};
    std::thread thread;
    std::string link, logPath;
    int port = -1;
};

TEST_F(LineTest, SlaveIsRawWithoutSoftwareFlowControl) {
    StartPrinter();
    termios t{};
    ASSERT_EQ(tcgetattr(port, &t), 0);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
}

TEST_F(LineTest, GlyphFullOfXonXoffBytesArrivesIntact) {
    StartPrinter();
    // Cells 16 x 4 (8 bytes), codes 0x3011 and 0x3013 whose low bytes are XON/XOFF too.
    const Bytes glyph1{0x11, 0x13, 0x11, 0x13, 0x13, 0x11, 0x13, 0x11};
    const Bytes glyph2(8, 0x13);
    Write(DownloadHeader(InfoBlock("17", "XonXoff", 16, 4, 8, 2)));
    EXPECT_EQ(Read(3), (Bytes{0x02, 'A', 0x03}));
    Write(kProceed);
    EXPECT_EQ(Read(3), (Bytes{0x02, 'O', 0x03}));
    Write(Frame(0x3011, 16, 0x11, glyph1));
    EXPECT_EQ(Read(1), Bytes{0x06});
    Write(Frame(0x3013, 16, 0x13, glyph2));
    EXPECT_EQ(Read(1), Bytes{0x06});
    Write(kInfoRequest);
    EXPECT_EQ(Read(11), (Bytes{0x02, 'B', '0', '0', '0', '0', '0', '1', '1', '2', 0x03}));
    Write(kProceed);
    const Bytes data = Read(114);
    ASSERT_EQ(data.size(), 114u);
    EXPECT_EQ(Bytes(data.begin() + 101, data.end() - 1),
              (Bytes{0x11, 0x30, 0x00, 0x10, 0x00, 0x11, 0x13, 0x30, 0x00, 0x10, 0x00, 0x13}));
    stop = true;
    thread.join();
    ASSERT_NE(memory.Find(17), nullptr);
    EXPECT_EQ(memory.Find(17)->glyphs, Cat({glyph1, glyph2}));

    // The log holds every byte of both directions in order.
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    const WireTranscript t = ParseWireLog(text.str());
    EXPECT_EQ(t.received, Cat({DownloadHeader(InfoBlock("17", "XonXoff", 16, 4, 8, 2)), kProceed,
                               Frame(0x3011, 16, 0x11, glyph1), Frame(0x3013, 16, 0x13, glyph2),
                               kInfoRequest, kProceed}));
    EXPECT_EQ(t.sent.size(), 3u + 3 + 1 + 1 + 11 + 114);
}

TEST_F(LineTest, PacedLineCarriesTheSameBytes) {
    LineOptions options;
    options.baud = 9600;
    memory.Store(MakeLogo(2, "Logo", 8, 8));
    StartPrinter(options);
    Write(kInfoRequest);
    EXPECT_EQ(Read(11), (Bytes{0x02, 'B', '0', '0', '0', '0', '0', '1', '0', '6', 0x03}));
    Write(DeleteEntry('0', '2'));
    EXPECT_EQ(Read(3), (Bytes{0x02, 'B', 0x03}));
    Write(kProceed);
    EXPECT_EQ(Read(3), (Bytes{0x02, 'E', 0x03}));
}

TEST_F(LineTest, HalfCommandIsDroppedAfterAQuietSpell) {
    LineOptions options;
    options.abandonMs = 100;
    StartPrinter(options);
    Write({0x1B, 0x41});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    // Were the two bytes kept, this would read as an unknown block.
    Write(kInfoRequest);
    EXPECT_EQ(Read(11).size(), 11u);
}

TEST_F(LineTest, LinkIsRemovedWhenThePrinterStops) {
    StartPrinter();
    char target[256];
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(target, size_t(n)), printer->SlavePath());
    close(port);
    port = -1;
    stop = true;
    thread.join();
    printer.reset();
    EXPECT_NE(access(link.c_str(), F_OK), 0);
}

} // namespace
