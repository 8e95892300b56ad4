#pragma once
// The one-printer rule of every list of printers: two entries that reach one
// printer are refused, named both, before any printer is opened.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "printer/printer_address.h"

// The entries of a list, taken one by one: one COM port, or one address in
// one spelling (as the printer's lock name has it), only once.
class OnePrinterRule {
public:
    // Takes printer as entry index; the index of the earlier entry that names
    // the same printer instead, which leaves the rule as it was.
    std::optional<size_t> Take(const PrinterAddress& printer, size_t index);

private:
    std::unordered_map<std::string, size_t> m_named; // lock name, entry
};

// The endpoints a network printer's address resolves to ("family address
// port"); empty when it does not resolve.
using EndpointResolver = std::function<std::vector<std::string>(const PrinterAddress&)>;

// The first two entries (earlier, later) whose addresses share an endpoint,
// as the connections would reach them: two spellings of one printer. A name
// that does not resolve is left to fail on its own.
std::optional<std::pair<size_t, size_t>>
FirstSharedEndpoint(const std::vector<PrinterAddress>& printers, const EndpointResolver& resolve);
