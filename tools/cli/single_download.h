#pragma once
// glyphkit-cli download to one printer: the registration sent by the engine
// that serves many printers, told as the window's Download tells it (the
// progress bar, the overwrite question, the printer's listing and message).
#include "printer/printer_address.h"
#include "printer/provision_plan.h"
#include "tools/cli/console_front_end.h"

// 0 when the printer holds the registration, else 1.
int DownloadToOnePrinter(const PlannedRegistration& registration, const PrinterAddress& printer,
                         ConsoleFrontEnd& frontEnd);
