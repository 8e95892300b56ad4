// glyphkit-cli list, delete and clear: the registered data management of the
// main form, against the printer on a COM port.
#include "tools/cli/commands.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/printer_options.h"

int RunList(const CliArgs& args) {
    if (!args.positional().empty())
        return UsageError(L"usage: list [--port N]");
    const PrinterOptions options = ReadPrinterOptions(args);
    if (!options.error.empty())
        return UsageError(options.error);
    FormSession session;
    return session.operations.QueryRegisteredData(options.port) ? 0 : 1;
}

int RunDelete(const CliArgs& args) {
    if (!args.positional().empty())
        return UsageError(L"usage: delete --id N [--port N] [--confirm yes|no]");
    const std::optional<std::wstring> idText = args.Value(L"id");
    const std::optional<long> id = idText ? ParseDecimal(*idText, 0, 99) : std::nullopt;
    if (!id)
        return UsageError(L"--id takes a registration ID from 0 to 99");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm");
    if (!options.error.empty())
        return UsageError(options.error);
    FormSession session(options.answer);
    return session.operations.DeleteRegisteredEntry(int(*id), options.port) ? 0 : 1;
}

int RunClear(const CliArgs& args) {
    if (!args.positional().empty())
        return UsageError(L"usage: clear [--port N] [--confirm yes|no]");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm");
    if (!options.error.empty())
        return UsageError(options.error);
    FormSession session(options.answer);
    return session.operations.ClearAllRegisteredData(options.port) ? 0 : 1;
}
