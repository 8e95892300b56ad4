#include "tools/cli/plan_run_options.h"

std::wstring ReadPlanRunOptions(const CliArgs& args, const PrinterOptions& printers,
                                PlanRunOptions* run) {
    if (const std::optional<std::wstring> jobs = args.Value(L"jobs")) {
        const std::optional<long> number = ParseDecimal(*jobs, 1, kMaxJobs);
        if (!number)
            return L"--jobs takes the number of printers served at once, 1 to " +
                   std::to_wstring(kMaxJobs);
        run->jobs = size_t(*number);
    }
    run->json = args.Has(L"json");
    run->provision.clear = args.Has(L"clear");
    run->provision.converge = args.Has(L"converge");
    // --clear empties every printer first, so there would be nothing to keep:
    // the operator meant one or the other.
    if (run->provision.clear && run->provision.converge)
        return L"--converge keeps what each printer holds as planned and --clear deletes "
               L"everything first: give one of them";
    // Converging is making each printer hold the plan: a planned ID that holds
    // something else is replaced unless --overwrite no says otherwise.
    run->provision.overwrite = printers.answer.value_or(run->provision.converge);
    return L"";
}

std::wstring ReadPlanOptions(const CliArgs& args, PrinterOptions* printers, PlanRunOptions* run) {
    *printers = ReadPrinterOptions(args, L"overwrite", true);
    if (!printers->error.empty())
        return printers->error;
    return ReadPlanRunOptions(args, *printers, run);
}
