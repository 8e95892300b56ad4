// glyphkit-cli list, delete and clear: the registered data management of the
// main form, against the printer on a COM port.
#include "printer/delete_exchange.h"
#include "printer/listing_exchange.h"
#include "printer/printer_port.h"
#include "res/resource_ids.h"
#include "tools/cli/commands.h"
#include "tools/cli/console_messages.h"
#include "tools/cli/printer_console.h"

namespace {

int RunOperation(int port, const std::function<ExchangeOutcome(PrinterLink&)>& exchange) {
    CRS232C rs232c;
    ConsoleMessages messages;
    ConsoleOutcome handler;
    ExchangeOutcome outcome;
    const bool opened = RunPrinterOperation(port, rs232c, messages, handler, exchange, &outcome);
    return ExitStatus(opened, outcome);
}

} // namespace

int RunList(const CliArgs& args) {
    if (!args.positional().empty() || !args.UnknownOption({L"port"}).empty())
        return UsageError(L"usage: list [--port N]");
    const PrinterOptions options = ReadPrinterOptions(args);
    if (!options.error.empty())
        return UsageError(options.error);
    return RunOperation(options.port, QueryRegisteredData);
}

int RunDelete(const CliArgs& args) {
    if (!args.positional().empty() || !args.UnknownOption({L"id", L"port", L"confirm"}).empty())
        return UsageError(L"usage: delete --id N [--port N] [--confirm yes|no]");
    const std::optional<std::wstring> idText = args.Value(L"id");
    const std::optional<long> id = idText ? ParseDecimal(*idText, 0, 99) : std::nullopt;
    if (!id)
        return UsageError(L"--id takes a registration ID from 0 to 99");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm");
    if (!options.error.empty())
        return UsageError(options.error);
    return RunOperation(options.port, [&](PrinterLink& link) {
        return DeleteRegisteredData(link, int(*id), [&](unsigned question) {
            return AskOperator(question, options.answer);
        });
    });
}

int RunClear(const CliArgs& args) {
    if (!args.positional().empty() || !args.UnknownOption({L"port", L"confirm"}).empty())
        return UsageError(L"usage: clear [--port N] [--confirm yes|no]");
    const PrinterOptions options = ReadPrinterOptions(args, L"confirm");
    if (!options.error.empty())
        return UsageError(options.error);
    return RunOperation(options.port, [&](PrinterLink& link) {
        return ClearAllRegisteredData(
            link, [&](unsigned question) { return AskOperator(question, options.answer); });
    });
}
