#pragma once
// What a printer exchange leaves for the user interface to do, in the order
// it must be done: update the registered data list, close the port (and drop
// the wait cursor), show a message. The form turns the steps into list box,
// static text and message box calls; the console tool prints them.
#include <cstdint>
#include <vector>

#include "printer/font_pt.h"
#include "printer/printer_operator.h"

enum class ListChange { Keep, Empty, Fill };
// Keep: extent as it was. Zero: extent 0. Widening: a line wider than the one
// before it sets the extent to its width + 2 (the query). EachLine: every line
// sets it to its width + 2 (the refresh).
enum class ExtentChange { Keep, Zero, Widening, EachLine };
enum class MemoryChange { Keep, NotAvailable, Zero, Usage };

struct ListingUpdate {
    ListChange list = ListChange::Keep;
    ExtentChange extent = ExtentChange::Keep;
    MemoryChange memory = MemoryChange::Keep;
    uint64_t memoryUse = 0;       // bytes, for MemoryChange::Usage
    std::vector<CFontPT> records; // for ListChange::Fill
};

enum class OutcomeStep { UpdateListing, ClosePort, ShowMessage };

struct ExchangeOutcome {
    bool succeeded = false;
    PrinterReport report; // what happened; the ShowMessage step tells it
    std::vector<OutcomeStep> steps;
    ListingUpdate listing;
};

class OutcomeHandler {
public:
    virtual ~OutcomeHandler() = default;
    // The operation's port was opened (the wait cursor goes on).
    virtual void PortOpened() {}
    virtual void ApplyListing(const ListingUpdate& update) = 0;
    // The port was closed (the wait cursor goes off).
    virtual void ClosePort() = 0;
};

// Performs the outcome's steps in order, telling its report to the operator.
void PlayOutcome(const ExchangeOutcome& outcome, OutcomeHandler& handler, PrinterOperator& op);
