#include "printer/provision_board.h"

ProvisionBoard::ProvisionBoard(const std::vector<std::string>& printers)
    : m_views(printers.size()), m_results(printers.size()) {
    for (size_t i = 0; i < printers.size(); ++i)
        m_views[i].printer = printers[i];
}

void ProvisionBoard::StepStarted(size_t index, PortStep step, size_t registration) {
    std::lock_guard<std::mutex> lock(m_mutex);
    PortView& view = m_views.at(index);
    view.step = step;
    view.registration = registration;
    view.sent = 0;
    view.count = 0;
}

void ProvisionBoard::CharacterSent(size_t index, size_t registration, uint32_t count,
                                   uint32_t sentIndex) {
    std::lock_guard<std::mutex> lock(m_mutex);
    PortView& view = m_views.at(index);
    view.registration = registration;
    view.count = count;
    view.sent = sentIndex + 1;
}

void ProvisionBoard::Finish(size_t index, PortResult result) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        PortView& view = m_views.at(index);
        if (view.finished)
            return;
        view.finished = true;
        view.outcome = result.outcome;
        if (result.outcome == PortOutcome::Ok)
            view.step = PortStep::Done;
        m_results[index] = std::move(result);
        ++m_finishedCount;
    }
    // Notified after the lock is given up, so the shown thread does not wake
    // only to wait for it.
    m_finished.notify_all();
}

std::vector<PortView> ProvisionBoard::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_views;
}

bool ProvisionBoard::AllFinished() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_finishedCount == m_views.size();
}

void ProvisionBoard::WaitForFinish(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    const size_t before = m_finishedCount;
    m_finished.wait_for(lock, timeout, [&] { return m_finishedCount != before; });
}

std::vector<PortResult> ProvisionBoard::Results() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_results;
}
