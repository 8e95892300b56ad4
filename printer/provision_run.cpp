#include "printer/provision_run.h"

#include <algorithm>
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

// One port's whole run, on a thread of the pool. The port is opened and
// closed here: a port's lock belongs to the thread that took it.
void RunPort(size_t index, const std::string& printer, const PortJob& job, const PortOpener& open,
             ProvisionBoard& board, const std::atomic<bool>& cancel) {
    PortResult result;
    if (cancel) {
        // Its turn came after Ctrl+C: the printer is never touched.
        result.outcome = PortOutcome::Cancelled;
        board.Finish(index, std::move(result));
        return;
    }
    try {
        board.StepStarted(index, PortStep::Opening, 0);
        OpenedPrinter opened = open(index);
        if (!opened.connection) {
            result = NotOpened(opened.problem);
            if (cancel)
                result.outcome = PortOutcome::Cancelled;
        } else {
            ProvisionBoard::Port progress(board, index);
            result = job(opened.connection->Link(), progress, cancel);
            result.address = opened.connection->Address();
            if (result.outcome == PortOutcome::Failed && result.failure == PortFailure::Report)
                NamePrinterInFailure(*opened.connection, printer, result.report);
            opened.connection.reset();
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
                    const std::function<void()>& tick, std::chrono::milliseconds tickEvery,
                    size_t jobs) {
    const PortJob job = [&](PrinterLink& link, PortProgress& progress,
                            const std::atomic<bool>& stop) {
        return ProvisionPort(link, plan, options, progress, stop);
    };
    RunOnPrinters(job, open, board, cancel, tick, tickEvery, jobs);
}

void RunOnPrinters(const PortJob& job, const PortOpener& open, ProvisionBoard& board,
                   const std::atomic<bool>& cancel, const std::function<void()>& tick,
                   std::chrono::milliseconds tickEvery, size_t jobs) {
    const std::vector<PortView> views = board.Snapshot();
    const size_t ports = views.size();
    // Each thread takes the next printer that waits, in board order, until
    // none is left: never more than jobs printers are held at once, and a
    // printer that ends frees its place at once.
    std::atomic<size_t> next{0};
    auto serve = [&] {
        for (size_t i = next++; i < ports; i = next++)
            RunPort(i, views[i].printer, job, open, board, cancel);
    };
    const size_t wanted = jobs == 0 ? ports : std::min(jobs, ports);
    std::vector<std::thread> threads;
    threads.reserve(wanted);
    for (size_t t = 0; t < wanted; ++t) {
        try {
            threads.emplace_back(serve);
        } catch (const std::exception&) {
            // The threads there are serve every printer, fewer at once.
            break;
        }
    }
    if (threads.empty()) {
        // No thread at all: every printer fails without being touched.
        for (size_t i = 0; i < ports; ++i)
            board.Finish(i, PortResult());
    }
    while (!board.AllFinished()) {
        tick();
        board.WaitForFinish(tickEvery);
    }
    for (std::thread& thread : threads)
        thread.join();
    tick();
}
