#pragma once
// The connection test of the network printer dialog: the printer's listing
// asked over a connection of its own and told in a message box over the
// dialog. The main form's registered data stays as it is.
#include <windows.h>

#include "printer/printer_address.h"

void TestPrinterConnection(HWND owner, const PrinterAddress& printer);
