#pragma once
// What a printer exchange came to: whether it did what it was for, what
// happened, and what is now known of the printer's registered data. How a
// front end shows it (in what order, how wide a list) is the front end's.
#include <cstdint>
#include <vector>

#include "printer/font_pt.h"
#include "printer/printer_operator.h"

enum class ListChange { Keep, Empty, Fill };
enum class MemoryChange { Keep, NotAvailable, Zero, Usage };

struct ListingUpdate {
    ListChange list = ListChange::Keep;
    MemoryChange memory = MemoryChange::Keep;
    uint64_t memoryUse = 0;       // bytes, for MemoryChange::Usage
    std::vector<CFontPT> records; // for ListChange::Fill
};

// The listing an exchange read at its end, if it read one.
enum class ListingRead {
    None,
    Query,   // the listing the operator asked for
    Refresh, // the silent one after a deletion or a download
};

struct ExchangeOutcome {
    bool succeeded = false;
    PrinterReport report; // what happened, as the operator is told
    ListingUpdate listing;
    ListingRead read = ListingRead::None;
    PrinterResult listingResult = PrinterResult::Done; // what that listing came to
};
