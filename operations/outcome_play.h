#pragma once
// How a front end plays a printer exchange's outcome: update the registered
// data list, close the port (and drop the wait cursor), show a message, in
// the order the outcome calls for, and how wide the list scrolls.
#include <functional>
#include <string>
#include <vector>

#include "printer/exchange_outcome.h"
#include "printer/registered_data.h"

enum class OutcomeStep { UpdateListing, ClosePort, ShowMessage };

// Keep: extent as it was. Zero: extent 0. Widening: a line wider than the one
// before it sets the extent to its width + 2 (the query). EachLine: every line
// sets it to its width + 2 (the refresh).
enum class ExtentChange { Keep, Zero, Widening, EachLine };

struct OutcomePlay {
    std::vector<OutcomeStep> steps;
    ExtentChange extent = ExtentChange::Keep;
};

OutcomePlay PlayOf(const ExchangeOutcome& outcome);

// The registered data as a front end shows it: what the printer holds, and
// how wide its list scrolls.
struct ListedPanel {
    RegisteredData data;
    int extent = 0; // pixels

    // A listing update played with its extent change; lineWidth gives a
    // line's width in pixels in the list's font.
    void Take(const ListingUpdate& update, ExtentChange change,
              const std::function<int(const std::string&)>& lineWidth);
};

class OutcomeHandler {
public:
    virtual ~OutcomeHandler() = default;
    // The operation's port was opened (the wait cursor goes on).
    virtual void PortOpened() {}
    virtual void ApplyListing(const ListingUpdate& update, ExtentChange extent) = 0;
    // The port was closed (the wait cursor goes off).
    virtual void ClosePort() = 0;
};

// Performs the outcome's steps in order, telling its report to the operator.
void PlayOutcome(const ExchangeOutcome& outcome, OutcomeHandler& handler, PrinterOperator& op);
