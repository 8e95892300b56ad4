#pragma once
// Virtual printers on ptys mapped to COM ports of the project's Wine prefix,
// or on TCP ports of 127.0.0.1 as printers on the network, as many as a test
// needs, and glyphkit-cli run against them under Wine.
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/vprinter/harness/kfd_writer.h"
#include "tools/vprinter/harness/subprocess.h"
#include "tools/vprinter/non_printer.h"
#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/pty_printer.h"
#include "tools/vprinter/tcp_printer.h"
#include "tools/vprinter/wire_log.h"

namespace integration {

using Bytes = std::vector<uint8_t>;

// How a printer on the network misbehaves, beyond the engine's faults.
struct NetworkFaults {
    int acceptDelayMs = 0; // before each waiting connection is accepted
    // From this character (1-based) of a download on nothing is answered, the
    // connection staying open, until the printer stops; 0 for never.
    int silentFromCharacter = 0;
    // A peer that is no printer in the printer's place.
    std::optional<vprinter::NonPrinterOptions> notPrinter;
};

// One printer on its own thread, serving a pty that COM`com` leads to, or a
// TCP port.
class VirtualPrinter {
public:
    explicit VirtualPrinter(vprinter::RegistrationMemory& memory) : memory_(memory) {}
    ~VirtualPrinter() { Stop(); }

    // Serves linkPath, or with network a TCP port of 127.0.0.1 of its own,
    // logging to logPath; onNote hears what the printer made of each command
    // before it answers, onCharacter each character taken.
    bool Start(const std::string& linkPath, const std::string& logPath,
               const vprinter::FaultPlan& faults, const vprinter::LineOptions& line,
               std::function<void(const std::string&)> onNote, std::function<void(int)> onCharacter,
               std::string* error, const NetworkFaults* network = nullptr);
    // "127.0.0.1:PORT" of a printer on the network.
    const std::string& Address() const { return address_; }
    // Stops serving (so the memory can be read) and returns the wire log; the
    // second call returns it again.
    vprinter::WireTranscript Stop();

private:
    vprinter::RegistrationMemory& memory_;
    std::string logPath_;
    vprinter::FaultPlan faults_;
    vprinter::WireLog log_;
    std::unique_ptr<vprinter::PrinterEngine> engine_;
    std::unique_ptr<vprinter::PtyPrinter> printer_;
    std::unique_ptr<vprinter::TcpPrinter> tcp_;
    std::string address_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class VirtualPrinterTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Starts the test's first printer with `seed` as its memory (then in
    // `memory`) and maps COM`com` to it.
    void StartPrinter(int com, const vprinter::FaultPlan& faults = {},
                      const vprinter::RegistrationMemory& seed = {});
    // Starts one more printer on COM`com`; its memory stays readable after
    // the printers have stopped.
    vprinter::RegistrationMemory& AddPrinter(int com, const vprinter::FaultPlan& faults = {},
                                             const vprinter::RegistrationMemory& seed = {});
    // Stops every printer (so their memory can be read) and returns the wire
    // log of the first one started.
    vprinter::WireTranscript StopPrinter();
    // The wire log of the printer on COM`com` (stopping it).
    vprinter::WireTranscript StopPrinterOn(int com);

    // Starts a printer on the network; its address in address.
    vprinter::RegistrationMemory& AddNetworkPrinter(std::string* address,
                                                    const vprinter::FaultPlan& faults = {},
                                                    const NetworkFaults& network = {},
                                                    const vprinter::RegistrationMemory& seed = {});
    // An address of 127.0.0.1 where a port is taken but nothing listens:
    // every connection is refused.
    std::string RefusingAddress();
    // The wire log of the printer on the network at address (stopping it).
    vprinter::WireTranscript StopPrinterAt(const std::string& address);

    // glyphkit-cli.exe ARGS under Wine; a failure when the program is not
    // built. interrupt: when it becomes true the program gets Ctrl+C.
    ProcessResult Cli(const std::vector<std::string>& args, int timeoutMs = 60000,
                      const std::atomic<bool>* interrupt = nullptr);
    // glyphkit-cli.exe ARGS with standard error left unread until it ends,
    // and Ctrl+C once it has filled the pipe.
    ProcessResult CliInterruptedWhenErrFull(const std::vector<std::string>& args);
    std::string WorkDir() const { return dir_; }

    vprinter::RegistrationMemory memory;
    int com = 0;
    // Hears what a printer made of each command, on the printer's thread
    // before it answers; set before starting it. Blocking here holds the reply.
    std::function<void(const std::string&)> onPrinterNote;
    // Hears each character a printer took (1-based), before its ACK.
    std::function<void(int)> onPrinterCharacter;
    // The line of the printers started from now on (pacing, quiet time).
    vprinter::LineOptions line;

private:
    void MakeWorkDir();
    VirtualPrinter* Start(int com, vprinter::RegistrationMemory& memory,
                          const vprinter::FaultPlan& faults, const std::string& name,
                          const NetworkFaults* network = nullptr);

    std::string dir_;
    std::deque<vprinter::RegistrationMemory> moreMemory_;
    // COM 0 for a printer on the network.
    std::vector<std::pair<int, std::unique_ptr<VirtualPrinter>>> printers_;
    std::vector<int> refusing_; // sockets holding the refusing addresses' ports
};

std::string SourceDir();
std::string WindowsBinDir();
// Runs scripts/winrun with the arguments (port mapping); true on exit status 0.
bool WinRun(const std::vector<std::string>& args);

// A font as a download through the console tool would leave it: ID, name,
// 72 bytes a glyph (24 x 24 dots), `count` characters from U+3042 on.
vprinter::StoredFont SampleFont(int id, const std::string& name, uint32_t count);

} // namespace integration
