#pragma once
// Deleting one registered entry or all of them.
#include <functional>

#include "printer/exchange_outcome.h"
#include "printer/printer_link.h"

// Asks the operator the question of the given string ID; true for Yes.
using Confirmation = std::function<bool(unsigned questionId)>;

// Deletes the entry with registration ID id (0 to 99); on success the printer
// is listed again over the same port.
ExchangeOutcome DeleteRegisteredData(PrinterLink& link, int id, const Confirmation& confirm);

// Deletes every font and logo; on success the list is emptied without a new
// query.
ExchangeOutcome ClearAllRegisteredData(PrinterLink& link, const Confirmation& confirm);
