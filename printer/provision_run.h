#pragma once
// A provisioning plan on several printers at once, each printer on a thread
// of its own holding the printer for the whole plan.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "printer/printer_connection.h"
#include "printer/provision_board.h"
#include "printer/provision_exchange.h"

// Opens the board's printer of the given index for the whole plan, on the
// thread that then runs the plan on it and closes it.
using PortOpener = std::function<OpenedPrinter(size_t index)>;

// Runs the plan on every printer of the board and returns when all have ended.
// Meanwhile, on the calling thread, tick runs every tickEvery and whenever a
// port ends, and once more at the end.
void ProvisionPorts(const std::vector<PlannedRegistration>& plan, const ProvisionOptions& options,
                    const PortOpener& open, ProvisionBoard& board, const std::atomic<bool>& cancel,
                    const std::function<void()>& tick, std::chrono::milliseconds tickEvery);
