#include "printer/provision_run.h"

#include <exception>
#include <thread>

namespace {

PortResult NotOpened(const PrinterReport& why) {
    PortResult result;
    result.step = PortStep::Opening;
    result.failure = PortFailure::Report;
    result.report = why;
    return result;
}

// One port's whole run, on its own thread. The port is opened and closed
// here: a port's lock belongs to the thread that took it.
void RunPort(size_t index, const std::vector<PlannedRegistration>& plan,
             const ProvisionOptions& options, const PortOpener& open, ProvisionBoard& board,
             const std::atomic<bool>& cancel) {
    PortResult result;
    try {
        board.StepStarted(index, PortStep::Opening, 0);
        OpenedPrinter opened;
        opened.problem = {PrinterTask::Port, PrinterResult::PortNotOpened};
        if (!cancel)
            opened = open(index);
        if (!opened.connection) {
            result = NotOpened(opened.problem);
            if (cancel)
                result.outcome = PortOutcome::Cancelled;
        } else {
            ProvisionBoard::Port progress(board, index);
            result = ProvisionPort(opened.connection->Link(), plan, options, progress, cancel);
            const bool lost = opened.connection->Lost();
            opened.connection.reset();
            if (lost && result.outcome == PortOutcome::Failed &&
                result.failure == PortFailure::Report) {
                result.report.result = PrinterResult::NetworkConnectionLost;
                result.report.printer = board.Snapshot()[index].printer;
            }
        }
    } catch (const std::exception&) {
        // Out of memory for a listing or a copy: this port fails, the others
        // go on.
        result = PortResult();
    }
    board.Finish(index, std::move(result));
}

} // namespace

void ProvisionPorts(const std::vector<PlannedRegistration>& plan, const ProvisionOptions& options,
                    const PortOpener& open, ProvisionBoard& board, const std::atomic<bool>& cancel,
                    const std::function<void()>& tick, std::chrono::milliseconds tickEvery) {
    const std::vector<PortView> ports = board.Snapshot();
    std::vector<std::thread> threads;
    threads.reserve(ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        try {
            threads.emplace_back(RunPort, i, std::cref(plan), std::cref(options), std::cref(open),
                                 std::ref(board), std::cref(cancel));
        } catch (const std::exception&) {
            // No thread for this port: it fails without touching the printer.
            board.Finish(i, PortResult());
        }
    }
    while (!board.AllFinished()) {
        tick();
        board.WaitForFinish(tickEvery);
    }
    for (std::thread& thread : threads)
        thread.join();
    tick();
}
