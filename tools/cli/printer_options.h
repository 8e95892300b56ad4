#pragma once
// The options every printer command of glyphkit-cli reads: --port with a COM
// port number (1 to 20, as the COM port dialog offers; 1 when absent) or a
// network printer's address (HOST[:PORT], [IPv6]:PORT; port 9100 when none
// is given), or for the commands that run on several printers at once a list
// of both such as --port 1,192.168.0.21,printer-3:9101; and, for a command
// that asks the operator, its yes|no answer.
#include <optional>
#include <string>
#include <vector>

#include "printer/printer_address.h"
#include "printer/printer_list.h"
#include "tools/cli/cli_args.h"

struct PrinterOptions {
    PrinterAddress printer;                                       // the first of printers
    std::vector<PrinterAddress> printers{PrinterAddress::Com(1)}; // each at most once
    // Each printer as the messages name it: "COM3" for 3, an address with its
    // port ("LOCALHOST:9100", "[::1]:9100").
    std::vector<std::wstring> names{L"COM1"};
    std::vector<std::wstring> given{L"1"}; // each as written, for the usage errors
    // The printer list file's line each came from (1-based); 0 for --port.
    std::vector<size_t> lines{0};
    std::wstring listFile;      // the printer list file, as given
    std::optional<bool> answer; // nothing when not given
    std::wstring error;         // a usage error's text; empty when all are good
};

// answerName: the yes|no option's name without "--", empty for none;
// printerList: whether --port may name several printers, and --ports-file
// FILE add those of a printer list file. Reads the file and resolves the
// addresses, so that two entries reaching one printer are refused.
PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName = L"",
                                  bool printerList = false);

// The same without the file system or the network: --port, then the entries
// of a printer list file when listed is given (listFile: its name, as the
// messages give it); entries are refused only when they name one printer in
// one spelling (the lock name's rule).
PrinterOptions ParsePrinterOptions(const CliArgs& args, const std::wstring& answerName,
                                   bool printerList, const std::vector<PrinterListEntry>* listed,
                                   const std::wstring& listFile = L"");

// The printers' names as a provisioning board keeps them (UTF-8; they are ASCII).
std::vector<std::string> BoardNames(const PrinterOptions& options);

// The usage error for the entries of the given indices, earlier first, that
// reach one printer: each as written, and the file line it came from.
std::wstring OnePrinterUnderTwoNames(const PrinterOptions& options, size_t earlier, size_t later);
