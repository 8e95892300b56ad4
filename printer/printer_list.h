#pragma once
// Printers as the operator lists them: one item of --port, and a printer
// list file of such items, one a line.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer/printer_address.h"

// A COM port number from 1 to 20, or a network printer's address
// (HOST[:PORT], [IPv6]:PORT); a plain number is always a COM port, so that
// "3" never means a host named 3. Nothing for anything else.
std::optional<PrinterAddress> ParsePrinterItem(std::string_view text);

// The largest printer list file read.
constexpr size_t kMaxPrinterListBytes = 4 << 20;

struct PrinterListEntry {
    PrinterAddress printer;
    std::string text; // as written
    size_t line = 0;  // 1-based
};

struct PrinterListError {
    size_t line = 0;  // 1-based; 0 for the file as a whole
    std::string text; // the line as written, when it names no printer
};

// A printer list file's bytes: UTF-8 with or without its byte-order mark,
// one printer a line as --port spells one, spaces around it ignored, a #
// and what follows it a comment, blank lines skipped. False with the first
// line that names no printer.
bool ParsePrinterList(std::string_view text, std::vector<PrinterListEntry>* entries,
                      PrinterListError* error);
