// glyphkit-cli list, delete and clear: the registered data management of the
// main form, against the printer on a COM port or at a network address.
#include "framework/code_page_text.h"
#include "printer/registration_id.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/json_text.h"
#include "tools/cli/printer_options.h"

namespace {

// {"entries":[{"id":7,"name":"LOGO","kind":"logo","characters":1,"size":32}],"memory":42}
std::wstring ListingJson(const RegisteredData& data) {
    std::wstring json = L"{\"entries\":[";
    for (size_t i = 0; i < data.m_records.size(); ++i) {
        const CFontPT& record = data.m_records[i];
        json += std::wstring(i ? L"," : L"") + L"{\"id\":" + std::to_wstring(record.m_nId) +
                L",\"name\":" + JsonString(FromCodePage(record.m_szName)) + L",\"kind\":\"" +
                (record.IsLogo() ? L"logo" : L"font") + L"\",\"characters\":" +
                std::to_wstring(record.m_nCharCount) + L",\"size\":" +
                std::to_wstring(record.m_nDataSize) + L"}";
    }
    return json + L"],\"memory\":" + std::to_wstring(data.MemoryBytes()) + L"}\n";
}

} // namespace

int RunList(const CliArgs& args) {
    if (!args.positional().empty())
        return CommandUsageError(L"list");
    const PrinterOptions options = ReadPrinterOptions(args);
    if (!options.error.empty())
        return UsageError(options.error);
    FormSession session;
    const bool json = args.Has(L"json");
    if (json)
        session.frontEnd.KeepStandardOutput();
    if (!session.operations.QueryRegisteredData(options.printer))
        return 1;
    if (json)
        console::Out(ListingJson(session.operations.Registered()));
    return 0;
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
