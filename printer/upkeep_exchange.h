#pragma once
// Upkeep of one printer among many: its listing, the deletion of one
// registered entry, or of every one. The operator agreed to the deletions for
// all printers before any was opened, so they are never asked again here.
#include <atomic>

#include "printer/provision_exchange.h"

enum class UpkeepTask { List, DeleteEntry, ClearAll };

struct UpkeepJob {
    UpkeepTask task = UpkeepTask::List;
    int id = 0; // DeleteEntry: the registration ID
};

// Ok with what the printer holds afterwards, also when it held nothing to
// delete (the report then says NothingRegistered, and changed stays false);
// Failed with the printer's report. cancel as for ProvisionPort.
PortResult UpkeepPort(PrinterLink& link, const UpkeepJob& job, PortProgress& progress,
                      const std::atomic<bool>& cancel);
