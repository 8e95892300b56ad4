#pragma once
// A provisioning run behind a window: the console's engine on a thread of
// its own, so that the window goes on answering and reads the board's
// snapshots on its timer.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "printer/provision_run.h"

class BatchRun {
public:
    // printers: each as the operator named it; open: opens the printer of an
    // index, on the thread that then runs the plan on it. onEnd runs on the
    // run's thread once every printer has ended.
    BatchRun(std::vector<PlannedRegistration> plan, const std::vector<std::string>& printers,
             PortOpener open, ProvisionOptions options, size_t jobs,
             std::function<void()> onEnd = {});
    // Stops the printers and waits for them.
    ~BatchRun();
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // The printers not started yet are never opened, the running ones stop
    // at a character boundary.
    void Cancel() { m_cancel = true; }
    bool Cancelled() const { return m_cancel; }
    // Every printer has ended.
    bool Ended() const { return m_ended; }
    std::vector<PortView> Snapshot() const { return m_board.Snapshot(); }
    // In printer order, once Ended.
    std::vector<PortResult> Results() const { return m_board.Results(); }
    const std::vector<PlannedRegistration>& Plan() const { return m_plan; }

private:
    const std::vector<PlannedRegistration> m_plan;
    ProvisionBoard m_board;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_ended{false};
    std::thread m_thread; // last: it starts once the rest is in place
};
