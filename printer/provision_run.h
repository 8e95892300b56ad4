#pragma once
// A provisioning plan on several ports at once, each port on a thread of its
// own holding the port for the whole plan.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "printer/provision_board.h"
#include "printer/provision_exchange.h"

// A port opened for the whole plan; destroying it closes the port, on the
// thread that opened it.
class OpenedPort {
public:
    virtual ~OpenedPort() = default;
    virtual PrinterLink& Link() = 0;
};

// Opens a port number: the open port, or nothing when it cannot be opened.
using PortOpener = std::function<std::unique_ptr<OpenedPort>(int port)>;

// Runs the plan on every port of the board and returns when all have ended.
// Meanwhile, on the calling thread, tick runs every tickEvery and whenever a
// port ends, and once more at the end.
void ProvisionPorts(const std::vector<PlannedRegistration>& plan, const ProvisionOptions& options,
                    const PortOpener& open, ProvisionBoard& board, const std::atomic<bool>& cancel,
                    const std::function<void()>& tick, std::chrono::milliseconds tickEvery);
