#include "tools/cli/plan_on_ports.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "printer/printer_connection.h"
#include "printer/provision_run.h"
#include "tools/cli/console.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/port_summary.h"
#include "tools/cli/provision_display.h"

namespace {

// A few redraws a second keep the lines alive without costing the printers
// time: drawing runs on this thread, never on a port's.
constexpr std::chrono::milliseconds kRedrawEvery{250};

} // namespace

int RunPlanOnPorts(const std::vector<PlannedRegistration>& plan, const PrinterOptions& printers,
                   const PlanRunOptions& run) {
    std::atomic<bool> interrupted{false};
    InterruptFlag interrupt(interrupted);
    ProvisionBoard board(BoardNames(printers));
    ProvisionDisplay display(plan);
    ProvisionPorts(
        plan, run.provision, [&](size_t i) { return OpenPrinter(printers.printers[i]); }, board,
        interrupted, [&] { display.Show(board.Snapshot()); }, kRedrawEvery, run.jobs);
    const std::vector<PortResult> results = board.Results();
    const PortSummary summary(plan);
    console::Out(run.json ? summary.JsonLines(board.Snapshot(), results)
                          : summary.Lines(board.Snapshot(), results));
    if (interrupted) {
        console::Err(L"glyphkit-cli: interrupted\n");
        return kInterruptedStatus;
    }
    const size_t failed =
        size_t(std::count_if(results.begin(), results.end(),
                             [](const PortResult& r) { return r.outcome != PortOutcome::Ok; }));
    if (failed == 0)
        return 0;
    console::Err(L"glyphkit-cli: " + std::to_wstring(failed) + L" of " +
                 std::to_wstring(results.size()) + L" printers did not finish\n");
    return 1;
}
