// The printer options as a command reads them: a printer list file read from
// disk, and every address resolved so that one printer is never two.
#include "framework/code_page_text.h"
#include "framework/whole_file.h"
#include "printer/one_printer.h"
#include "printer/tcp_link.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/printer_options.h"

namespace {

// The printer list file's entries; false with the usage error's text, which
// names the file and the line.
bool ReadPortsFile(const std::wstring& path, std::vector<PrinterListEntry>* entries,
                   std::wstring* error) {
    std::vector<uint8_t> bytes;
    uint32_t systemError = 0;
    const FileReadResult read = ReadWholeFile(path, kMaxPrinterListBytes, &bytes, &systemError);
    if (read != FileReadResult::Ok) {
        *error = read == FileReadResult::TooLarge
                     ? path + L": a printer list holds at most " +
                           std::to_wstring(kMaxPrinterListBytes >> 20) + L" MB"
                     : L"--ports-file: " + FileProblem(path, systemError);
        return false;
    }
    PrinterListError bad;
    if (ParsePrinterList(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), entries,
            &bad))
        return true;
    *error = path + L" line " + std::to_wstring(bad.line) + L": a COM port number from " +
             std::to_wstring(kFirstComPort) + L" to " + std::to_wstring(kLastComPort) +
             L" or a printer's address HOST[:PORT] a line; not \"" +
             FromCodePage(bad.text, CP_UTF8) + L"\"";
    return false;
}

// Two entries of the list that lead to one printer, by the endpoints their
// addresses resolve to, as the connections would: false with the usage
// error's text naming both as given. A name that does not resolve is left
// to fail on its own.
bool EachPrinterOnce(PrinterOptions* options) {
    const std::optional<std::pair<size_t, size_t>> shared =
        FirstSharedEndpoint(options->printers, PrinterEndpoints);
    if (!shared)
        return true;
    options->error = OnePrinterUnderTwoNames(*options, shared->first, shared->second);
    return false;
}

} // namespace

PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName,
                                  bool printerList) {
    std::vector<PrinterListEntry> listed;
    const std::optional<std::wstring> file = printerList ? args.Value(L"ports-file") : std::nullopt;
    if (file) {
        std::wstring error;
        if (!ReadPortsFile(*file, &listed, &error)) {
            PrinterOptions refused;
            refused.error = error;
            return refused;
        }
    }
    PrinterOptions options = ParsePrinterOptions(
        args, answerName, printerList, file ? &listed : nullptr, file ? *file : std::wstring());
    if (options.error.empty() && options.printers.size() > 1)
        EachPrinterOnce(&options);
    return options;
}
