#pragma once
// Asking the printer for its registered fonts and logos.
#include "printer/exchange_outcome.h"
#include "printer/printer_link.h"

// The query of the "情報取得" button, on a freshly opened port: two tries for
// the info reply, a message in every case.
ExchangeOutcome QueryRegisteredData(PrinterLink& link);

// The silent re-read after a deletion or a download, over the operation's
// open port: one try, no message; its steps end with the port closed.
ExchangeOutcome RefreshRegisteredData(PrinterLink& link);
