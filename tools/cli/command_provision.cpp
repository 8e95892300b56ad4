// glyphkit-cli provision: one plan of registrations stored in many printers,
// several at once, each on its own COM port or network address.
#include "framework/code_page_text.h"
#include "printer/registration_id.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/loaded_registration.h"
#include "tools/cli/model_option.h"
#include "tools/cli/plan_check.h"
#include "tools/cli/plan_on_ports.h"
#include "tools/cli/printer_options.h"

int RunProvision(const CliArgs& args) {
    if (args.positional().size() != 1)
        return CommandUsageError(L"provision");
    if (!args.Value(L"port") && !args.Value(L"ports-file"))
        return UsageError(L"provision needs --port with the printers' ports, e.g. --port 1,2, "
                          L"or --ports-file with a list of them");
    PrinterOptions options;
    PlanRunOptions run;
    if (const std::wstring error = ReadPlanOptions(args, &options, &run); !error.empty())
        return UsageError(error);
    const PrinterModel* model = nullptr;
    if (const int status = ReadModelOption(args, &model))
        return status;

    std::vector<PlannedRegistration> plan;
    if (const int status = LoadProvisionPlan(args.positional()[0], model, &plan))
        return status;
    return RunPlanOnPorts(plan, options, run);
}

int RunDownloadOnPorts(const CliArgs& args, const PrinterOptions& printers,
                       const PlanRunOptions& run) {
    // The ID is the form's field, refused as on one port (and as the window
    // refuses it), before any port opens.
    const std::optional<int> id = ParseRegistrationId(ToCodePage(args.Value(L"id").value_or(L"")));
    if (!id)
        return Failure(IDS_BAD_REGISTRATION_ID);
    const PrinterModel* model = nullptr;
    if (const int status = ReadModelOption(args, &model))
        return status;
    const std::wstring& file = args.positional()[0];
    // A plan of one line, named by the ID and the file instead of a line.
    std::vector<PlannedRegistration> plan(1);
    plan[0].line.id = *id;
    plan[0].line.file = ToCodePage(file, CP_UTF8);
    std::wstring problem;
    if (!BuildRegistrationFromFile(file, *id, model, file, &plan[0], &problem))
        return UsageError(file + L": " + problem);
    if (FirstBeyondMemory(plan))
        return UsageError(file + L": the registration takes " +
                          std::to_wstring(plan[0].MemoryUse()) + L" bytes, more than the " +
                          L"printer's " + PrinterMemoryText<wchar_t>());
    return RunPlanOnPorts(plan, printers, run);
}
