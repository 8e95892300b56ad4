// glyphkit-cli download: the Load button, then the Download button of the
// main form, with a progress bar on standard error, sent by the engine that
// serves many printers. With several printers, --converge or --json it is a
// provisioning plan of one line, told as one.
#include <optional>
#include <string>

#include "framework/code_page_text.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/loaded_registration.h"
#include "tools/cli/model_option.h"
#include "tools/cli/printer_options.h"
#include "tools/cli/single_download.h"

int RunDownload(const CliArgs& args) {
    if (args.positional().size() != 1)
        return CommandUsageError(L"download");
    const std::optional<std::wstring> id = args.Value(L"id");
    if (!id)
        return UsageError(L"download needs --id N");
    PrinterOptions options;
    PlanRunOptions run;
    if (const std::wstring error = ReadPlanOptions(args, &options, &run); !error.empty())
        return UsageError(error);
    // What only a plan does (a summary per printer, the printer listed
    // first) makes even one printer a plan of one line.
    if (options.printers.size() > 1 || args.Has(L"ports-file") || run.json ||
        run.provision.converge)
        return RunDownloadOnPorts(args, options, run);

    FormSession session(options.answer);
    const LoadResult load = session.operations.LoadFontDataFile(args.positional()[0]);
    if (!load.loaded)
        return 1;
    const PrinterModel* named = nullptr;
    if (const int status = ReadModelOption(args, &named))
        return status;

    FormEnvironment environment;
    environment.reference = DisplayContext();
    environment.resolution = ChooseModel(named, session.doc.GetFontHeader()).resolution;
    environment.printer = options.printer;
    // The registration ID is checked as the form checks its text
    // (IDS_BAD_REGISTRATION_ID), and the build as Download builds.
    const std::optional<PlannedRegistration> registration = session.operations.BuildDownload(
        FieldsAfterLoad(session.doc, load), {ParseRegistrationId(ToCodePage(*id))}, environment);
    if (!registration)
        return 1;
    return DownloadToOnePrinter(*registration, options.printer, session.frontEnd);
}
