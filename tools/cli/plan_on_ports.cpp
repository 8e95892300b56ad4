#include "tools/cli/plan_on_ports.h"

#include <atomic>
#include <chrono>

#include "printer/printer_port.h"
#include "printer/provision_run.h"
#include "tools/cli/console.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/provision_display.h"

namespace {

// A COM port held for a whole plan; the handle and the port's lock go when
// it does, on the port's own thread.
class SerialPort : public OpenedPort {
public:
    explicit SerialPort(PortHandle handle)
        : m_handle(std::move(handle)), m_link(m_rs232c, m_handle.Get()) {}
    PrinterLink& Link() override { return m_link; }

private:
    PortHandle m_handle;
    CRS232C m_rs232c;
    SerialPrinterLink m_link;
};

std::unique_ptr<OpenedPort> OpenSerialPort(int comPort) {
    PortHandle handle = OpenPrinterPort(comPort);
    if (!handle.IsOpen())
        return nullptr;
    // As in every printer operation, a port that cannot be set up still gets
    // the exchange, which then fails on its own time-outs with its message.
    CRS232C().Configure(handle.Get(), kPrinterBaudRate, NOPARITY, RTS_CONTROL_DISABLE);
    return std::make_unique<SerialPort>(std::move(handle));
}

// A few redraws a second keep the lines alive without costing the printers
// time: drawing runs on this thread, never on a port's.
constexpr std::chrono::milliseconds kRedrawEvery{250};

} // namespace

int RunPlanOnPorts(const std::vector<PlannedRegistration>& plan, const std::vector<int>& ports,
                   const ProvisionOptions& options) {
    std::atomic<bool> interrupted{false};
    InterruptFlag interrupt(interrupted);
    ProvisionBoard board(ports);
    ProvisionDisplay display(plan);
    ProvisionPorts(
        plan, options, OpenSerialPort, board, interrupted, [&] { display.Show(board.Snapshot()); },
        kRedrawEvery);
    const std::vector<PortResult> results = board.Results();
    display.Summarize(board.Snapshot(), results);
    if (interrupted)
        console::Err(L"glyphkit-cli: interrupted\n");
    for (const PortResult& result : results)
        if (result.outcome != PortOutcome::Ok)
            return 1;
    return interrupted ? kInterruptedStatus : 0;
}
