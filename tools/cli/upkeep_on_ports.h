#pragma once
// list, delete and clear on many printers, several at once, shown on the
// console: a block per printer, then a table of them all, or with --json an
// object a line per printer.
#include "printer/upkeep_exchange.h"
#include "tools/cli/plan_run_options.h"
#include "tools/cli/printer_options.h"

// 0 when every printer answered (a deletion with nothing to delete counts),
// else 1.
int RunUpkeepOnPorts(const UpkeepJob& job, const PrinterOptions& printers,
                     const PlanRunOptions& run);
