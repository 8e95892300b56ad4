#include "tools/cli/printer_options.h"

#include <algorithm>
#include <unordered_map>

#include "framework/code_page_text.h"
#include "framework/whole_file.h"
#include "printer/printer_list.h"
#include "printer/tcp_link.h"
#include "printer/text_formats.h"
#include "tools/cli/file_problem.h"

namespace {

std::wstring OnePrinterTwice(const std::wstring& first, const std::wstring& second) {
    return L"--port names " + first + L" and " + second + L", which reach one printer";
}

// One item of --port, as a printer list file spells one too.
std::optional<PrinterAddress> ParseItem(const std::wstring& item) {
    // Anything but ASCII names no printer; the parser sees bytes.
    if (!std::all_of(item.begin(), item.end(), [](wchar_t c) { return c < 128; }))
        return std::nullopt;
    return ParsePrinterItem(std::string(item.begin(), item.end()));
}

// How the messages and the summary name a printer: "COM3", an address with
// its port ("LOCALHOST:9100", "[::1]:9100").
std::wstring NameOf(const PrinterAddress& printer) {
    return FromCodePage(PrinterAddressText(printer), CP_UTF8);
}

// The printers named so far, by the name under which they are held.
using NamedPrinters = std::unordered_map<std::string, size_t>;

// Adds printer unless the list names it already; false with the usage
// error's text.
bool AddPrinter(const PrinterAddress& printer, const std::wstring& given, NamedPrinters& named,
                PrinterOptions* options) {
    const auto [earlier, added] = named.emplace(PrinterLockName(printer), options->printers.size());
    if (!added) {
        const std::wstring& first = options->given[earlier->second];
        options->error = first == given ? L"--port names " + NameOf(printer) + L" twice"
                                        : OnePrinterTwice(first, given);
        return false;
    }
    options->printers.push_back(printer);
    options->names.push_back(NameOf(printer));
    options->given.push_back(given);
    return true;
}

// The printers of a printer list file after those of --port; false with the
// usage error's text, which names the file and the line.
bool ReadPortsFile(const std::wstring& path, NamedPrinters& named, PrinterOptions* options) {
    std::vector<uint8_t> bytes;
    uint32_t systemError = 0;
    const FileReadResult read = ReadWholeFile(path, kMaxPrinterListBytes, &bytes, &systemError);
    if (read != FileReadResult::Ok) {
        options->error = read == FileReadResult::TooLarge
                             ? path + L": a printer list holds at most " +
                                   std::to_wstring(kMaxPrinterListBytes >> 20) + L" MB"
                             : L"--ports-file: " + FileProblem(path, systemError);
        return false;
    }
    std::vector<PrinterListEntry> entries;
    PrinterListError error;
    if (!ParsePrinterList(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &entries,
            &error)) {
        options->error = path + L" line " + std::to_wstring(error.line) +
                         L": a COM port number from " + std::to_wstring(kFirstComPort) + L" to " +
                         std::to_wstring(kLastComPort) +
                         L" or a printer's address HOST[:PORT] a line; not \"" +
                         FromCodePage(error.text, CP_UTF8) + L"\"";
        return false;
    }
    for (const PrinterListEntry& entry : entries)
        if (!AddPrinter(entry.printer, FromCodePage(entry.text, CP_UTF8), named, options))
            return false;
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
        if (!AddPrinter(*printer, item, named, options))
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

// Two entries of the list that lead to one printer, by the endpoints their
// addresses resolve to, as the connections would: false with the usage
// error's text naming both as given. A name that does not resolve is left
// to fail on its own.
bool EachPrinterOnce(PrinterOptions* options) {
    std::unordered_map<std::string, size_t> seen; // endpoint, entry
    for (size_t i = 0; i < options->printers.size(); ++i) {
        if (!options->printers[i].IsNetwork())
            continue;
        for (const std::string& endpoint : PrinterEndpoints(options->printers[i])) {
            const auto earlier = seen.find(endpoint);
            if (earlier != seen.end() && earlier->second != i) {
                options->error =
                    OnePrinterTwice(options->given[earlier->second], options->given[i]);
                return false;
            }
            seen.emplace(endpoint, i);
        }
    }
    return true;
}

} // namespace

PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName,
                                  bool printerList) {
    PrinterOptions options;
    const std::optional<std::wstring> port = args.Value(L"port");
    const std::optional<std::wstring> file = printerList ? args.Value(L"ports-file") : std::nullopt;
    if (port || file) {
        options.printers.clear();
        options.names.clear();
        options.given.clear();
        NamedPrinters named;
        if ((port && !ParsePrinters(*port, printerList, named, &options)) ||
            (file && !ReadPortsFile(*file, named, &options)))
            return options;
        if (options.printers.empty()) {
            options.error = L"--ports-file names no printer";
            return options;
        }
        if (!EachPrinterOnce(&options))
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
