#pragma once
// How glyphkit-cli runs a plan on its printers: --jobs N printers at once,
// --converge, --json, with --clear and the --overwrite answer.
#include <cstddef>
#include <string>
#include <vector>

#include "printer/provision_exchange.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/printer_options.h"

constexpr size_t kDefaultJobs = 16;
constexpr long kMaxJobs = 256;

struct PlanRunOptions {
    ProvisionOptions provision;
    size_t jobs = kDefaultJobs;
    bool json = false; // one JSON object a line per printer instead of the summary lines
};

// Reads the options into run; the usage error's text, or empty when all are
// good.
std::wstring ReadPlanRunOptions(const CliArgs& args, const PrinterOptions& printers,
                                PlanRunOptions* run);
// The printers of a plan (--port, --ports-file, several of them, and the
// --overwrite answer) and then the options of its run; the usage error's
// text, or empty when all are good.
std::wstring ReadPlanOptions(const CliArgs& args, PrinterOptions* printers, PlanRunOptions* run);
