#include "tools/cli/printer_options.h"

#include <algorithm>

#include "printer/one_printer.h"
#include "printer/text_formats.h"

namespace {

// Addresses and COM port names are ASCII.
std::wstring Widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// Two entries, earlier and later, of --port or the printer list file, as
// the operator wrote them and where.
std::wstring TwoEntriesText(const PrinterOptions& options, size_t earlier,
                            const std::wstring& given, size_t line) {
    const std::wstring& first = options.given[earlier];
    const size_t firstLine = options.lines[earlier];
    const std::wstring names =
        first == given ? L" names " + options.names[earlier] + L" twice"
                       : L" names " + first + L" and " + given + L", which reach one printer";
    if (firstLine != 0)
        return options.listFile + names + L" (lines " + std::to_wstring(firstLine) + L" and " +
               std::to_wstring(line) + L")";
    if (line != 0)
        return L"--port" + names + L" (" + given + L": " + options.listFile + L" line " +
               std::to_wstring(line) + L")";
    return L"--port" + names;
}

// One item of --port, as a printer list file spells one too.
std::optional<PrinterAddress> ParseItem(const std::wstring& item) {
    // Anything but ASCII names no printer; the parser sees bytes.
    if (!std::all_of(item.begin(), item.end(), [](wchar_t c) { return c < 128; }))
        return std::nullopt;
    return ParsePrinterItem(std::string(item.begin(), item.end()));
}

// The printers named so far.
using NamedPrinters = OnePrinterRule;

// Adds printer unless the list names it already; false with the usage
// error's text. line: the printer list file's line it came from, 0 for --port.
bool AddPrinter(const PrinterAddress& printer, const std::wstring& given, size_t line,
                NamedPrinters& named, PrinterOptions* options) {
    const std::wstring name = Widened(PrinterAddressText(printer));
    if (const std::optional<size_t> earlier = named.Take(printer, options->printers.size())) {
        options->error = TwoEntriesText(*options, *earlier, given, line);
        return false;
    }
    options->printers.push_back(printer);
    options->names.push_back(name);
    options->given.push_back(given);
    options->lines.push_back(line);
    return true;
}

// "1,192.168.0.21,printer-3:9101": the printers in the order given; false
// with the usage error's text.
bool ParsePrinters(const std::wstring& text, bool printerList, NamedPrinters& named,
                   PrinterOptions* options) {
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
        if (!AddPrinter(*printer, item, 0, named, options))
            return false;
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

std::vector<std::string> BoardNames(const PrinterOptions& options) {
    std::vector<std::string> names;
    for (const std::wstring& name : options.names)
        names.emplace_back(name.begin(), name.end());
    return names;
}

std::wstring OnePrinterUnderTwoNames(const PrinterOptions& options, size_t earlier, size_t later) {
    return TwoEntriesText(options, earlier, options.given[later], options.lines[later]);
}

PrinterOptions ParsePrinterOptions(const CliArgs& args, const std::wstring& answerName,
                                   bool printerList, const std::vector<PrinterListEntry>* listed,
                                   const std::wstring& listFile) {
    PrinterOptions options;
    const std::optional<std::wstring> port = args.Value(L"port");
    if (port || listed) {
        options.printers.clear();
        options.names.clear();
        options.given.clear();
        options.lines.clear();
        options.listFile = listFile;
        NamedPrinters named;
        if (port && !ParsePrinters(*port, printerList, named, &options))
            return options;
        for (size_t i = 0; listed && i < listed->size(); ++i) {
            const PrinterListEntry& entry = (*listed)[i];
            if (!AddPrinter(entry.printer, Widened(entry.text), entry.line, named, &options))
                return options;
        }
        if (options.printers.empty()) {
            options.error = L"--ports-file names no printer";
            return options;
        }
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
