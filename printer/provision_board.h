#pragma once
// What every printer of a provisioning run is doing, written by the ports'
// threads and read by the thread that shows it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "printer/provision_exchange.h"

struct PortView {
    std::string printer; // as the operator named it
    PortStep step = PortStep::Waiting;
    size_t registration = 0; // plan index, while registering
    uint32_t sent = 0;       // characters of that registration acknowledged
    uint32_t count = 0;      // characters of that registration
    bool finished = false;
    PortOutcome outcome = PortOutcome::Failed; // once finished
};

class ProvisionBoard {
public:
    explicit ProvisionBoard(const std::vector<std::string>& printers);

    void StepStarted(size_t index, PortStep step, size_t registration);
    void CharacterSent(size_t index, size_t registration, uint32_t count, uint32_t sentIndex);
    void Finish(size_t index, PortResult result);

    std::vector<PortView> Snapshot() const;
    bool AllFinished() const;
    // Returns when a port finishes or after timeout, whichever comes first.
    void WaitForFinish(std::chrono::milliseconds timeout) const;
    // The results, in port order; for finished ports only.
    std::vector<PortResult> Results() const;

    // One port's PortProgress, for the exchange on that port's thread.
    class Port : public PortProgress {
    public:
        Port(ProvisionBoard& board, size_t index) : m_board(board), m_index(index) {}
        void StepStarted(PortStep step, size_t registration) override {
            m_board.StepStarted(m_index, step, registration);
        }
        void CharacterSent(size_t registration, uint32_t count, uint32_t index) override {
            m_board.CharacterSent(m_index, registration, count, index);
        }

    private:
        ProvisionBoard& m_board;
        size_t m_index;
    };

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_finished;
    std::vector<PortView> m_views;
    std::vector<PortResult> m_results;
    size_t m_finishedCount = 0;
};
