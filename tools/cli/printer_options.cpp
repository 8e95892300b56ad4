#include "tools/cli/printer_options.h"

#include <algorithm>
#include <cwctype>

#include "printer/text_formats.h"

namespace {

// One item of --port: a COM port number, or else an address; a plain number
// is always a COM port, so that "3" never means a host named 3.
std::optional<PrinterAddress> ParseItem(const std::wstring& item) {
    if (!item.empty() && std::all_of(item.begin(), item.end(), iswdigit)) {
        const std::optional<long> number = ParseDecimal(item, kFirstComPort, kLastComPort);
        if (!number)
            return std::nullopt;
        return PrinterAddress::Com(int(*number));
    }
    // Addresses are ASCII; anything else cannot name a printer.
    if (!std::all_of(item.begin(), item.end(), [](wchar_t c) { return c > 32 && c < 127; }))
        return std::nullopt;
    return ParseNetworkAddress(std::string(item.begin(), item.end()));
}

// "1,192.168.0.21,printer-3:9101": the printers in the order given; false
// with the usage error's text.
bool ParsePrinters(const std::wstring& text, bool printerList, PrinterOptions* options) {
    options->printers.clear();
    options->names.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(L',', start);
        const std::wstring item = text.substr(start, comma - start);
        const std::optional<PrinterAddress> printer = ParseItem(item);
        if (!printer) {
            const std::wstring range =
                std::to_wstring(kFirstComPort) + L" to " + std::to_wstring(kLastComPort);
            options->error = L"--port takes a COM port number from " + range +
                             L" or a printer's address HOST[:PORT]" +
                             (printerList ? L", separated by commas" : L"") + L"; not \"" + item +
                             L"\"";
            return false;
        }
        const std::wstring name =
            printer->IsNetwork() ? item : ComPortName<wchar_t>(printer->comPort);
        if (std::find(options->printers.begin(), options->printers.end(), *printer) !=
            options->printers.end()) {
            options->error = L"--port names " + name + L" twice";
            return false;
        }
        options->printers.push_back(*printer);
        options->names.push_back(name);
        if (comma == std::wstring::npos)
            break;
        if (!printerList) {
            options->error = L"--port takes one printer here";
            return false;
        }
        start = comma + 1;
    }
    return true;
}

} // namespace

PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName,
                                  bool printerList) {
    PrinterOptions options;
    if (const std::optional<std::wstring> port = args.Value(L"port")) {
        if (!ParsePrinters(*port, printerList, &options))
            return options;
        options.printer = options.printers.front();
    }
    if (answerName.empty())
        return options;
    if (const std::optional<std::wstring> answer = args.Value(answerName)) {
        if (*answer == L"yes")
            options.answer = true;
        else if (*answer == L"no")
            options.answer = false;
        else
            options.error = L"--" + answerName + L" takes yes or no";
    }
    return options;
}
