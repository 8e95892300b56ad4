#include "printer/one_printer.h"

std::optional<size_t> OnePrinterRule::Take(const PrinterAddress& printer, size_t index) {
    const auto [earlier, added] = m_named.emplace(PrinterLockName(printer), index);
    if (added)
        return std::nullopt;
    return earlier->second;
}

std::optional<std::pair<size_t, size_t>>
FirstSharedEndpoint(const std::vector<PrinterAddress>& printers, const EndpointResolver& resolve) {
    std::unordered_map<std::string, size_t> seen; // endpoint, entry
    for (size_t i = 0; i < printers.size(); ++i) {
        if (!printers[i].IsNetwork())
            continue;
        for (const std::string& endpoint : resolve(printers[i])) {
            const auto [earlier, added] = seen.emplace(endpoint, i);
            // One name may resolve to one endpoint twice (two families).
            if (!added && earlier->second != i)
                return std::make_pair(earlier->second, i);
        }
    }
    return std::nullopt;
}
