#include "tests/integration/virtual_printer_fixture.h"

#include <unistd.h>

#include <algorithm>

#include "fontdata/byte_order.h"

#include <fstream>
#include <sstream>

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

void VirtualPrinterTest::StartPrinter(int comNumber, const vprinter::FaultPlan& faults,
                                      const vprinter::RegistrationMemory& seed) {
    com = comNumber;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = ::testing::TempDir() + "glyphkit-integration-" + info->name();
    ASSERT_EQ(RunProcess({"rm", "-rf", dir_}, 10000).exitCode, 0);
    ASSERT_EQ(RunProcess({"mkdir", "-p", dir_}, 10000).exitCode, 0);
    logPath_ = dir_ + "/wire.log";
    ASSERT_TRUE(log_.Open(logPath_));
    memory = seed;
    faults_ = faults;
    engine_ = std::make_unique<vprinter::PrinterEngine>(memory, faults_);
    engine_->onNote = [this](const std::string& text) {
        log_.Note(text);
        if (onPrinterNote)
            onPrinterNote(text);
    };
    printer_ = std::make_unique<vprinter::PtyPrinter>(*engine_, log_, vprinter::LineOptions{});
    std::string error;
    ASSERT_TRUE(printer_->Open(dir_ + "/port", &error)) << error;
    thread_ = std::thread([this] { printer_->Run([this] { return !stop_; }); });
    ASSERT_TRUE(WinRun({"--map-com", std::to_string(com), dir_ + "/port"}));
}

vprinter::WireTranscript VirtualPrinterTest::StopPrinter() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    std::ifstream in(logPath_);
    std::stringstream text;
    text << in.rdbuf();
    return vprinter::ParseWireLog(text.str());
}

void VirtualPrinterTest::TearDown() {
    StopPrinter();
    printer_.reset();
    if (com > 0)
        WinRun({"--unmap-com", std::to_string(com)});
    if (!HasFailure() && !dir_.empty())
        RunProcess({"rm", "-rf", dir_}, 10000);
}

ProcessResult VirtualPrinterTest::Cli(const std::vector<std::string>& args, int timeoutMs) {
    const std::string exe = WindowsBinDir() + "/glyphkit-cli.exe";
    if (access(exe.c_str(), X_OK) != 0 && access(exe.c_str(), R_OK) != 0) {
        ADD_FAILURE() << exe << " is not built (build the windows preset first)";
        return {};
    }
    std::vector<std::string> argv{SourceDir() + "/scripts/winrun", exe};
    argv.insert(argv.end(), args.begin(), args.end());
    ProcessResult r = RunProcess(argv, timeoutMs);
    EXPECT_FALSE(r.timedOut) << "glyphkit-cli did not end within " << timeoutMs << " ms";
    return r;
}

} // namespace integration
