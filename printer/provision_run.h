#pragma once
// A provisioning plan on many printers, at most a given number at once, each
// on a thread that holds the printer for the whole plan.
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

// What runs on one opened printer, on its thread: a provisioning plan, a
// listing, a deletion.
using PortJob = std::function<PortResult(PrinterLink& link, PortProgress& progress,
                                         const std::atomic<bool>& cancel)>;

// Runs job on every printer of the board, at most jobs of them at once (the
// others wait their turn in board order; 0: all at once), and returns when
// all have ended. A printer whose turn comes after cancel is set ends
// cancelled without being opened. Meanwhile, on the calling thread, tick runs
// every tickEvery and whenever a port ends, and once more at the end.
void RunOnPrinters(const PortJob& job, const PortOpener& open, ProvisionBoard& board,
                   const std::atomic<bool>& cancel, const std::function<void()>& tick,
                   std::chrono::milliseconds tickEvery, size_t jobs = 0);

// RunOnPrinters with the plan as every printer's job.
void ProvisionPorts(const std::vector<PlannedRegistration>& plan, const ProvisionOptions& options,
                    const PortOpener& open, ProvisionBoard& board, const std::atomic<bool>& cancel,
                    const std::function<void()>& tick, std::chrono::milliseconds tickEvery,
                    size_t jobs = 0);
