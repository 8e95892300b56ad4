// glyphkit-cli list, delete and clear: the registered data management of the
// main form, on one printer as the window does it or on many at once.
#include "framework/code_page_text.h"
#include "printer/registration_id.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/printer_options.h"
#include "tools/cli/upkeep_on_ports.h"

namespace {

// One printer, the JSON of list: the printer, how it was reached, and what it
// holds. Several printers, or a printer list file: the upkeep run on all.
bool OnSeveralPrinters(const CliArgs& args, const PrinterOptions& options) {
    return options.printers.size() > 1 || args.Has(L"ports-file");
}

// The operator's yes for a deletion on several printers: from --yes or
// --confirm, else asked once on the console for all of them. Nothing when
// there is none (the usage error's text in refusal, empty for a no).
bool AgreedForAll(const PrinterOptions& options, bool yes, const std::wstring& what,
                  std::wstring* refusal) {
    if (yes || options.answer)
        return yes || *options.answer;
    const std::wstring count = std::to_wstring(options.printers.size());
    if (!console::InIsConsole()) {
        *refusal =
            what + L" on " + count + L" printers needs --yes when there is no console to ask";
        return false;
    }
    return console::AskOnConsole(what + L" on " + count + L" printers?");
}

int RunUpkeep(const CliArgs& args, const PrinterOptions& options, const UpkeepJob& job) {
    PlanRunOptions run;
    if (const std::wstring error = ReadPlanRunOptions(args, options, &run); !error.empty())
        return UsageError(error);
    return RunUpkeepOnPorts(job, options, run);
}

// A deletion on several printers, once the operator agreed.
int RunDeletionOnPrinters(const CliArgs& args, const PrinterOptions& options, const UpkeepJob& job,
                          const std::wstring& what) {
    std::wstring refusal;
    if (!AgreedForAll(options, args.Has(L"yes"), what, &refusal)) {
        if (!refusal.empty())
            return UsageError(refusal);
        console::Err(L"glyphkit-cli: declined: nothing was deleted\n");
        return 1;
    }
    return RunUpkeep(args, options, job);
}

} // namespace

int RunList(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"list");
    const PrinterOptions options = ReadPrinterOptions(args, L"", true);
    if (!options.error.empty())
        return UsageError(options.error);
    if (args.Has(L"json") || OnSeveralPrinters(args, options))
        return RunUpkeep(args, options, {UpkeepTask::List});
    FormSession session;
    return session.operations.QueryRegisteredData(options.printer) ? 0 : 1;
}

int RunDelete(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"delete");
    const std::optional<std::wstring> idText = args.Value(L"id");
    const std::optional<int> id = idText ? ParseRegistrationId(ToCodePage(*idText)) : std::nullopt;
    if (!id)
        return UsageError(L"--id takes a registration ID from 0 to 99");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm", true);
    if (!options.error.empty())
        return UsageError(options.error);
    if (OnSeveralPrinters(args, options))
        return RunDeletionOnPrinters(args, options, {UpkeepTask::DeleteEntry, *id},
                                     L"Delete " + RegistrationIdText<wchar_t>(*id));
    FormSession session(args.Has(L"yes") ? std::optional<bool>(true) : options.answer);
    return session.operations.DeleteRegisteredEntry(*id, options.printer) ? 0 : 1;
}

int RunClear(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"clear");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm", true);
    if (!options.error.empty())
        return UsageError(options.error);
    if (OnSeveralPrinters(args, options))
        return RunDeletionOnPrinters(args, options, {UpkeepTask::ClearAll},
                                     L"Delete everything registered");
    FormSession session(args.Has(L"yes") ? std::optional<bool>(true) : options.answer);
    return session.operations.ClearAllRegisteredData(options.printer) ? 0 : 1;
}
