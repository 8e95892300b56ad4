#pragma once
// A virtual printer on a pty mapped to a COM port of the project's Wine prefix,
// and glyphkit-cli run against it under Wine.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/vprinter/harness/kfd_writer.h"
#include "tools/vprinter/harness/subprocess.h"
#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/pty_printer.h"
#include "tools/vprinter/wire_log.h"

namespace integration {

using Bytes = std::vector<uint8_t>;

class VirtualPrinterTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Starts the printer with `seed` as its memory and maps COM`com` to it.
    void StartPrinter(int com, const vprinter::FaultPlan& faults = {},
                      const vprinter::RegistrationMemory& seed = {});
    // Stops the printer (so its memory can be read) and returns the wire log.
    vprinter::WireTranscript StopPrinter();

    // glyphkit-cli.exe ARGS under Wine; a failure when the program is not built.
    ProcessResult Cli(const std::vector<std::string>& args, int timeoutMs = 60000);
    std::string WorkDir() const { return dir_; }

    vprinter::RegistrationMemory memory;
    int com = 0;
    // Hears what the printer made of each command, on the printer's thread
    // before it answers; set before StartPrinter. Blocking here holds the reply.
    std::function<void(const std::string&)> onPrinterNote;

private:
    std::string dir_;
    std::string logPath_;
    vprinter::FaultPlan faults_;
    vprinter::WireLog log_;
    std::unique_ptr<vprinter::PrinterEngine> engine_;
    std::unique_ptr<vprinter::PtyPrinter> printer_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::string SourceDir();
std::string WindowsBinDir();
// Runs scripts/winrun with the arguments (port mapping); true on exit status 0.
bool WinRun(const std::vector<std::string>& args);

// A font as a download through the console tool would leave it: ID, name,
// 72 bytes a glyph (24 x 24 dots), `count` characters from U+3042 on.
vprinter::StoredFont SampleFont(int id, const std::string& name, uint32_t count);

} // namespace integration
