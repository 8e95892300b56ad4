#include "tests/integration/virtual_printer_fixture.h"

#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "fontdata/byte_order.h"

namespace integration {

std::string SourceDir() {
    return GLYPHKIT_SOURCE_DIR;
}
std::string WindowsBinDir() {
    return GLYPHKIT_WINDOWS_BIN;
}

bool WinRun(const std::vector<std::string>& args) {
    return integration::WinRun(SourceDir(), args);
}

vprinter::StoredFont SampleFont(int id, const std::string& name, uint32_t count) {
    vprinter::StoredFont f;
    f.info[0] = uint8_t('0' + id / 10);
    f.info[1] = uint8_t('0' + id % 10);
    std::copy(name.begin(), name.end(), f.info.begin() + 4);
    f.info[48] = '1';
    f.info[49] = '0';
    WriteBE16(&f.info[52], 24);
    WriteBE16(&f.info[54], 24);
    WriteBE32(&f.info[56], 72);
    WriteBE32(&f.info[60], count);
    WriteBE32(&f.info[68], 72 * count);
    WriteBE16(&f.info[78], 400);
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t code = uint16_t(0x3042 + i);
        f.records.push_back({uint8_t(code), uint8_t(code >> 8), 0, 0, 0, 24, 0, 0, 0, 24});
    }
    f.glyphs.assign(72 * count, 0x5A);
    return f;
}

bool VirtualPrinter::Start(const std::string& linkPath, const std::string& logPath,
                           const vprinter::FaultPlan& faults, const vprinter::LineOptions& line,
                           std::function<void(const std::string&)> onNote,
                           std::function<void(int)> onCharacter, std::string* error,
                           const NetworkFaults* network) {
    logPath_ = logPath;
    if (!log_.Open(logPath_)) {
        *error = "cannot open " + logPath_;
        return false;
    }
    faults_ = faults;
    engine_ = std::make_unique<vprinter::PrinterEngine>(memory_, faults_);
    engine_->onNote = [this, onNote](const std::string& text) {
        log_.Note(text);
        if (onNote)
            onNote(text);
    };
    engine_->onCharacter = std::move(onCharacter);
    if (network && network->silentFromCharacter > 0) {
        // Holding the character's ACK holds every reply after it: the
        // printer's one thread waits here until it is stopped.
        engine_->onCharacter = [this, from = network->silentFromCharacter,
                                hear = engine_->onCharacter](int k) {
            if (hear)
                hear(k);
            while (k >= from && !stop_)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        };
    }
    if (network) {
        vprinter::TcpOptions options;
        options.line = line;
        options.acceptDelayMs = network->acceptDelayMs;
        options.notPrinter = network->notPrinter;
        tcp_ = std::make_unique<vprinter::TcpPrinter>(*engine_, log_, options);
        if (!tcp_->Listen("127.0.0.1", 0, error))
            return false;
        address_ = tcp_->Address();
        thread_ = std::thread([this] { tcp_->Run([this] { return !stop_; }); });
        return true;
    }
    printer_ = std::make_unique<vprinter::PtyPrinter>(*engine_, log_, line);
    if (!printer_->Open(linkPath, error))
        return false;
    thread_ = std::thread([this] { printer_->Run([this] { return !stop_; }); });
    return true;
}

vprinter::WireTranscript VirtualPrinter::Stop() {
    stop_ = true;
    if (tcp_)
        tcp_->Stop();
    if (thread_.joinable())
        thread_.join();
    std::ifstream in(logPath_);
    std::stringstream text;
    text << in.rdbuf();
    return vprinter::ParseWireLog(text.str());
}

void VirtualPrinterTest::MakeWorkDir() {
    if (!dir_.empty())
        return;
    // A folder of this run's own: other checkouts on the machine run the same
    // tests at the same time, and a folder named after the test alone would
    // lead one's ports to the other's printers, or vanish under a test.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    std::string pattern = ::testing::TempDir() + "glyphkit-integration-" + name + "-XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr) << pattern;
    dir_ = pattern;
}

VirtualPrinter* VirtualPrinterTest::Start(int comNumber, vprinter::RegistrationMemory& memory,
                                          const vprinter::FaultPlan& faults,
                                          const std::string& name, const NetworkFaults* network) {
    MakeWorkDir();
    auto printer = std::make_unique<VirtualPrinter>(memory);
    std::string error;
    const std::string link = dir_ + "/" + name;
    EXPECT_TRUE(printer->Start(link, dir_ + "/wire" + name.substr(4) + ".log", faults, line,
                               onPrinterNote, onPrinterCharacter, &error, network))
        << error;
    printers_.emplace_back(comNumber, std::move(printer));
    if (!network)
        EXPECT_TRUE(WinRun({"--map-com", std::to_string(comNumber), link}));
    return printers_.back().second.get();
}

vprinter::RegistrationMemory&
VirtualPrinterTest::AddNetworkPrinter(std::string* address, const vprinter::FaultPlan& faults,
                                      const NetworkFaults& network,
                                      const vprinter::RegistrationMemory& seed) {
    moreMemory_.push_back(seed);
    *address = Start(0, moreMemory_.back(), faults, "port-net" + std::to_string(moreMemory_.size()),
                     &network)
                   ->Address();
    return moreMemory_.back();
}

std::string VirtualPrinterTest::RefusingAddress() {
    // Bound but not listening: the kernel answers a connection with a reset.
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), length), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    refusing_.push_back(fd);
    return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

vprinter::WireTranscript VirtualPrinterTest::StopPrinterAt(const std::string& address) {
    for (auto& printer : printers_)
        if (printer.first == 0 && printer.second->Address() == address)
            return printer.second->Stop();
    ADD_FAILURE() << "no printer at " << address;
    return {};
}

void VirtualPrinterTest::StartPrinter(int comNumber, const vprinter::FaultPlan& faults,
                                      const vprinter::RegistrationMemory& seed) {
    com = comNumber;
    memory = seed;
    Start(comNumber, memory, faults, "port");
}

vprinter::RegistrationMemory&
VirtualPrinterTest::AddPrinter(int comNumber, const vprinter::FaultPlan& faults,
                               const vprinter::RegistrationMemory& seed) {
    moreMemory_.push_back(seed);
    Start(comNumber, moreMemory_.back(), faults, "port" + std::to_string(comNumber));
    return moreMemory_.back();
}

vprinter::WireTranscript VirtualPrinterTest::StopPrinter() {
    vprinter::WireTranscript first;
    for (size_t i = 0; i < printers_.size(); ++i) {
        vprinter::WireTranscript t = printers_[i].second->Stop();
        if (i == 0)
            first = std::move(t);
    }
    return first;
}

vprinter::WireTranscript VirtualPrinterTest::StopPrinterOn(int comNumber) {
    for (auto& printer : printers_)
        if (printer.first == comNumber)
            return printer.second->Stop();
    ADD_FAILURE() << "no printer on COM" << comNumber;
    return {};
}

void VirtualPrinterTest::TearDown() {
    StopPrinter();
    for (auto& printer : printers_)
        if (printer.first != 0)
            WinRun({"--unmap-com", std::to_string(printer.first)});
    printers_.clear();
    for (const int fd : refusing_)
        close(fd);
    refusing_.clear();
    if (!HasFailure() && !dir_.empty())
        RunProcess({"rm", "-rf", dir_}, 10000);
}

namespace {

// scripts/winrun glyphkit-cli.exe ARGS; empty when the program is not built.
std::vector<std::string> CliCommand(const std::vector<std::string>& args) {
    const std::string exe = WindowsBinDir() + "/glyphkit-cli.exe";
    if (access(exe.c_str(), X_OK) != 0 && access(exe.c_str(), R_OK) != 0) {
        ADD_FAILURE() << exe << " is not built (build the windows preset first)";
        return {};
    }
    std::vector<std::string> argv{SourceDir() + "/scripts/winrun", exe};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

} // namespace

ProcessResult VirtualPrinterTest::Cli(const std::vector<std::string>& args, int timeoutMs,
                                      const std::atomic<bool>* interrupt) {
    const std::vector<std::string> argv = CliCommand(args);
    if (argv.empty())
        return {};
    ProcessResult r = RunProcess(argv, timeoutMs, interrupt);
    EXPECT_FALSE(r.timedOut) << "glyphkit-cli did not end within " << timeoutMs << " ms";
    return r;
}

ProcessResult VirtualPrinterTest::CliInterruptedWhenErrFull(const std::vector<std::string>& args) {
    const std::vector<std::string> argv = CliCommand(args);
    if (argv.empty())
        return {};
    ProcessResult r = RunProcessInterruptedWhenErrFull(argv, 60000);
    EXPECT_FALSE(r.timedOut) << "glyphkit-cli did not end within 60 s";
    return r;
}

} // namespace integration
