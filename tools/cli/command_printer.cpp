// glyphkit-cli list, delete and clear: the registered data management of the
// main form, against the printer on a COM port.
#include "framework/code_page_text.h"
#include "printer/registration_id.h"
#include "tools/cli/commands.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/printer_options.h"

int RunList(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"list");
    const PrinterOptions options = ReadPrinterOptions(args);
    if (!options.error.empty())
        return UsageError(options.error);
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
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm");
    if (!options.error.empty())
        return UsageError(options.error);
    FormSession session(options.answer);
    return session.operations.DeleteRegisteredEntry(*id, options.printer) ? 0 : 1;
}

int RunClear(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"clear");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm");
    if (!options.error.empty())
        return UsageError(options.error);
    FormSession session(options.answer);
    return session.operations.ClearAllRegisteredData(options.printer) ? 0 : 1;
}
