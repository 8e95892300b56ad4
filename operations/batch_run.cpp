#include "operations/batch_run.h"

#include <chrono>

BatchRun::BatchRun(std::vector<PlannedRegistration> plan, const std::vector<std::string>& printers,
                   PortOpener open, ProvisionOptions options, size_t jobs,
                   std::function<void()> onEnd)
    : m_plan(std::move(plan)), m_board(printers) {
    m_thread = std::thread([this, open = std::move(open), options, jobs, onEnd = std::move(onEnd)] {
        // The window reads the board itself: the engine's tick has nothing
        // to draw, so it comes seldom.
        ProvisionPorts(
            m_plan, options, open, m_board, m_cancel, [] {}, std::chrono::seconds(1), jobs);
        m_ended = true;
        if (onEnd)
            onEnd();
    });
}

BatchRun::~BatchRun() {
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}
