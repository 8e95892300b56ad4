#pragma once
// Deleting one registered entry or all of them.
#include "printer/exchange_outcome.h"
#include "printer/printer_link.h"

// Deletes the entry with registration ID id (0 to 99) once the operator has
// said yes; on success the printer is listed again over the same port.
ExchangeOutcome DeleteRegisteredData(PrinterLink& link, int id, PrinterOperator& op);

// Deletes every font and logo once the operator has said yes; on success the
// list is emptied without a new query.
ExchangeOutcome ClearAllRegisteredData(PrinterLink& link, PrinterOperator& op);

// A deletion left the printer as asked: it deleted, or held nothing to
// delete.
bool LeftNothingToDelete(const ExchangeOutcome& deletion);
