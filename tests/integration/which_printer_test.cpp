// glyphkit-cli under Wine against peers that are no printer, addresses that
// could reach another device, one printer under two names, and a reply left
// on a COM port by an interrupted download: whatever the far end is, the tool
// never reports it as a printer it is not.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "tests/integration/virtual_printer_fixture.h"

using namespace integration;
using vprinter::NonPrinterKind;
using vprinter::RegistrationMemory;

namespace {

class WhichPrinterTest : public VirtualPrinterTest {
protected:
    std::string Kfd(const std::vector<uint16_t>& codes) {
        const std::string path = WorkDir() + "/font.kfd";
        WriteKfd(path, "ABC", kIpaGothicCp932, 10, codes);
        return WinePath(path);
    }
    std::string Plan(const std::string& kfd) {
        const std::string path = WorkDir() + "/plan.txt";
        std::ofstream(path) << "5 " << kfd << "\n";
        return WinePath(path);
    }
    std::string NonPrinter(NonPrinterKind kind) {
        NetworkFaults network;
        network.notPrinter = vprinter::NonPrinterOptions{};
        network.notPrinter->kind = kind;
        std::string address;
        AddNetworkPrinter(&address, {}, network);
        return address;
    }
};

bool Has(const ProcessResult& r, const std::string& text) {
    return (r.out + r.err).find(text) != std::string::npos;
}

TEST_F(WhichPrinterTest, APeerThatIsNoPrinterFailsEveryCommandAndIsNamed) {
    const std::string kfd = Kfd({0x41, 0x42, 0x43});
    const std::string plan = Plan(kfd);
    const std::string notPrinter = "からの応答はプリンタの応答ではありません。";
    const struct {
        NonPrinterKind kind;
        std::vector<std::string> args; // --port follows
        const char* failed;            // the message of today, before the second line
    } cases[] = {
        {NonPrinterKind::Http, {"list"}, "取得に失敗しました。"},
        {NonPrinterKind::Random, {"list"}, "取得に失敗しました。"},
        {NonPrinterKind::Stream, {"list", "--json"}, "取得に失敗しました。"},
        {NonPrinterKind::Http,
         {"delete", "--id", "5", "--confirm", "yes"},
         "データ削除に失敗しました。"},
        {NonPrinterKind::Stream, {"clear", "--confirm", "yes"}, "データ削除に失敗しました。"},
        {NonPrinterKind::Http, {"download", kfd, "--id", "5"}, "登録に失敗しました。"},
        {NonPrinterKind::Stream, {"provision", plan, "--converge"}, "取得に失敗しました。"},
    };
    for (const auto& c : cases) {
        const std::string address = NonPrinter(c.kind);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--port", address});
        SCOPED_TRACE(args.front() + " " + std::to_string(int(c.kind)));
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_TRUE(Has(r, std::string(c.failed))) << r.out << r.err;
        EXPECT_TRUE(Has(r, address + " " + notPrinter)) << r.out << r.err;
        EXPECT_FALSE(Has(r, "取得完了しました。")) << r.out;
        EXPECT_FALSE(Has(r, "\"status\":\"ok\"")) << r.out;
        StopPrinterAt(address);
    }
    // A framed reply with an unknown code and digits is the empty listing
    // the protocol makes of it.
    const std::string unknown = NonPrinter(NonPrinterKind::UnknownCode);
    const ProcessResult r = Cli({"list", "--json", "--port", unknown});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"printer\":\"" + unknown + "\",\"address\":\"" + unknown +
                         "\",\"status\":\"ok\",\"changed\":false,\"message\":\"\","
                         "\"entries\":[],\"memory\":0}\n");
}

TEST_F(WhichPrinterTest, AddressesAreExactAndEachPrinterIsNamedOnce) {
    std::string address;
    AddNetworkPrinter(&address);
    const std::string port = address.substr(address.find(':') + 1);
    const std::string reach = ", which reach one printer";
    const struct {
        std::string ports;
        std::string expect; // on standard error
    } cases[] = {
        // Shorthand and octal spellings of the loopback address reach no one.
        {"127.1:" + port, "not \"127.1:" + port + "\""},
        {"0177.0.0.1:" + port, "not \"0177.0.0.1:" + port + "\""},
        {"2130706433", "not \"2130706433\""},
        {address + ",localhost:" + port, address + " and localhost:" + port + reach},
        {"localhost:" + port + ",LOCALHOST:" + port,
         "localhost:" + port + " and LOCALHOST:" + port + reach},
        {"3,03", "--port names 3 and 03" + reach},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ports);
        const ProcessResult r = Cli({"provision", Plan(Kfd({0x41})), "--port", c.ports});
        EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << r.err;
    }
    const vprinter::WireTranscript t = StopPrinterAt(address);
    EXPECT_TRUE(t.received.empty());
}

// The printer acknowledges the character a download sent last even when the
// tool is gone: the acknowledgement waits on the line, and the next command
// on the port must not read it as its answer.
TEST_F(WhichPrinterTest, AReplyLeftOnTheLineIsNotTheNextCommandsAnswer) {
    RegistrationMemory seed;
    seed.Store(SampleFont(8, "HELD", 3));
    std::promise<void> toolGone;
    std::shared_future<void> gone = toolGone.get_future().share();
    std::atomic<bool> interrupt{false};
    onPrinterCharacter = [&](int k) {
        if (k == 2) {
            interrupt = true;
            gone.wait();
        }
    };
    line.baud = 115200;
    StartPrinter(5, {}, seed);
    const ProcessResult interrupted = Cli(
        {"download", Kfd({0x41, 0x42, 0x43, 0x44}), "--id", "9", "--port", "5"}, 60000, &interrupt);
    EXPECT_EQ(interrupted.exitCode, 1) << interrupted.err;
    toolGone.set_value();
    // The acknowledgement of character 2 now waits in the port's queue, with
    // the answers to the listing the stopped download asked for meanwhile.
    const int fd = open((WorkDir() + "/port").c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int queued = 0;
    for (int i = 0; i < 1000 && queued == 0; ++i) {
        ioctl(fd, FIONREAD, &queued);
        if (queued == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    close(fd);
    ASSERT_GE(queued, 1);
    const ProcessResult listed = Cli({"list", "--json", "--port", "5"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("\"id\":8,\"name\":\"HELD\""), std::string::npos) << listed.out;
}

} // namespace
