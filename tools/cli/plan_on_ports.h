#pragma once
// A checked provisioning plan run on many printers, several at once, shown on
// the console; the exit status of the provision command.
#include <vector>

#include "printer/provision_exchange.h"
#include "tools/cli/plan_run_options.h"
#include "tools/cli/printer_options.h"

// 0 when every port succeeded, else 1 (a port failed, or Ctrl+C stopped the run).
int RunPlanOnPorts(const std::vector<PlannedRegistration>& plan, const PrinterOptions& printers,
                   const PlanRunOptions& run);
