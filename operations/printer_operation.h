#pragma once
// One printer operation from opening the printer to closing it, with the
// outcome played to the operator.
#include <functional>

#include "operations/outcome_play.h"
#include "printer/printer_address.h"
#include "printer/printer_link.h"

class PrinterStop;

// Opens the printer (false after telling why it cannot be, nothing else
// done), tells the handler (wait cursor), tells a port that could not be set
// up (the exchange still runs and fails on its own time-outs), runs the
// exchange and plays its outcome, the ClosePort step closing the printer
// before the handler hears of it. A failed exchange over a connection that
// broke is told as the broken connection. The printer is closed in any case
// when this returns.
//
// With a stop, the operator may end it from another thread: the exchange
// meets a cut connection, and unless it had already done what it was for it
// is told as Stopped, with nothing learnt of the printer's entries.
bool RunPrinterOperation(const PrinterAddress& printer, PrinterOperator& op,
                         OutcomeHandler& handler,
                         const std::function<ExchangeOutcome(PrinterLink&)>& exchange,
                         ExchangeOutcome* result = nullptr, PrinterStop* stop = nullptr);
