// glyphkit-cli list, delete and clear: the registered data management of the
// main form, on one printer as the window does it or on many at once, with
// the same checks and statuses either way.
#include "framework/code_page_text.h"
#include "printer/registration_id.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/printer_options.h"
#include "tools/cli/upkeep_on_ports.h"

namespace {

// The options every upkeep command reads, on one printer as on many: the
// printers, their yes|no answer, --jobs and --json. The usage error's text,
// or empty when all are good.
std::wstring ReadUpkeepOptions(const CliArgs& args, const std::wstring& answerName,
                               PrinterOptions* options, PlanRunOptions* run) {
    *options = ReadPrinterOptions(args, answerName, true);
    if (!options->error.empty())
        return options->error;
    return ReadPlanRunOptions(args, *options, run);
}

// Several printers, a printer list file, or --json: the upkeep run on all of
// them, told a block (or an object) a printer. One printer without --json is
// told as the window tells it.
bool AsAList(const CliArgs& args, const PrinterOptions& options, const PlanRunOptions& run) {
    return options.printers.size() > 1 || args.Has(L"ports-file") || run.json;
}

// The operator's yes for a deletion told as a list: from --yes or --confirm,
// else asked once on the console for all the printers. Nothing when there
// is none (the usage error's text in refusal, empty for a no).
bool AgreedForAll(const PrinterOptions& options, bool yes, const std::wstring& what,
                  std::wstring* refusal) {
    if (yes || options.answer)
        return yes || *options.answer;
    const size_t count = options.printers.size();
    const std::wstring printers =
        std::to_wstring(count) + (count == 1 ? L" printer" : L" printers");
    if (!console::InIsConsole()) {
        *refusal = what + L" on " + printers + L" needs --yes when there is no console to ask";
        return false;
    }
    return console::AskOnConsole(what + L" on " + printers + L"?");
}

// A deletion told as a list, once the operator agreed.
int RunDeletionOnPrinters(const CliArgs& args, const PrinterOptions& options,
                          const PlanRunOptions& run, const UpkeepJob& job,
                          const std::wstring& what) {
    std::wstring refusal;
    if (!AgreedForAll(options, args.Has(L"yes"), what, &refusal)) {
        if (!refusal.empty())
            return UsageError(refusal);
        console::Err(L"glyphkit-cli: declined: nothing was deleted\n");
        return 1;
    }
    return RunUpkeepOnPorts(job, options, run);
}

// One printer as the window does it: the question when the printer says it
// holds what is to go, the messages and the listing as the window shows
// them. The status follows the list's rule: a printer that holds nothing to
// delete is as it should be.
int RunOnOnePrinter(const CliArgs& args, const PrinterOptions& options, const UpkeepJob& job) {
    FormSession session(args.Has(L"yes") ? std::optional<bool>(true) : options.answer);
    CFormOperations& form = session.operations;
    switch (job.task) {
    case UpkeepTask::List:
        return form.QueryRegisteredData(options.printer) ? 0 : 1;
    case UpkeepTask::DeleteEntry:
        return form.DeleteRegisteredEntry(job.id, options.printer) ? 0 : 1;
    case UpkeepTask::ClearAll:
        return form.ClearAllRegisteredData(options.printer) ? 0 : 1;
    }
    return 1;
}

} // namespace

int RunList(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"list");
    PrinterOptions options;
    PlanRunOptions run;
    if (const std::wstring error = ReadUpkeepOptions(args, L"", &options, &run); !error.empty())
        return UsageError(error);
    const UpkeepJob job{UpkeepTask::List};
    return AsAList(args, options, run) ? RunUpkeepOnPorts(job, options, run)
                                       : RunOnOnePrinter(args, options, job);
}

int RunDelete(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"delete");
    const std::optional<std::wstring> idText = args.Value(L"id");
    const std::optional<int> id = idText ? ParseRegistrationId(ToCodePage(*idText)) : std::nullopt;
    if (!id)
        return UsageError(L"--id takes a registration ID from 0 to 99");
    PrinterOptions options;
    PlanRunOptions run;
    if (const std::wstring error = ReadUpkeepOptions(args, L"confirm", &options, &run);
        !error.empty())
        return UsageError(error);
    const UpkeepJob job{UpkeepTask::DeleteEntry, *id};
    return AsAList(args, options, run)
               ? RunDeletionOnPrinters(args, options, run, job,
                                       L"Delete " + RegistrationIdText<wchar_t>(*id))
               : RunOnOnePrinter(args, options, job);
}

int RunClear(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"clear");
    PrinterOptions options;
    PlanRunOptions run;
    if (const std::wstring error = ReadUpkeepOptions(args, L"confirm", &options, &run);
        !error.empty())
        return UsageError(error);
    const UpkeepJob job{UpkeepTask::ClearAll};
    return AsAList(args, options, run)
               ? RunDeletionOnPrinters(args, options, run, job, L"Delete everything registered")
               : RunOnOnePrinter(args, options, job);
}
