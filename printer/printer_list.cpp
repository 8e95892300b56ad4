#include "printer/printer_list.h"

#include <algorithm>

#include "framework/decimal_number.h"

std::optional<PrinterAddress> ParsePrinterItem(std::string_view text) {
    // Leading zeros are a number's own ("03" is COM3).
    const DecimalRead port = ReadDecimal(text, kComPortNumbers);
    if (port.reading == DecimalReading::Number)
        return PrinterAddress::Com(int(port.value));
    if (port.reading == DecimalReading::OutOfRange)
        return std::nullopt;
    // Addresses are ASCII; anything else names no printer.
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c > 32 && c < 127; }))
        return std::nullopt;
    return ParseNetworkAddress(text);
}

bool ParsePrinterList(std::string_view text, std::vector<PrinterListEntry>* entries,
                      PrinterListError* error) {
    if (text.size() > kMaxPrinterListBytes) {
        *error = {0, ""};
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = std::min(text.find('\n'), text.size());
        // No address holds a #: from one on, the line is a comment
        // ("192.168.0.21   # bay 3").
        std::string_view line = text.substr(0, std::min(text.substr(0, end).find('#'), end));
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && isSpace(line.front()))
            line.remove_prefix(1);
        while (!line.empty() && isSpace(line.back()))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const std::optional<PrinterAddress> printer = ParsePrinterItem(line);
        if (!printer) {
            *error = {lineNumber, std::string(line)};
            return false;
        }
        entries->push_back({*printer, std::string(line), lineNumber});
    }
    return true;
}
