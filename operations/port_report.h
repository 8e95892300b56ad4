#pragma once
// What both front ends say of one printer of a provisioning run: why a
// report failed it, on one line, and the name of the step it ended in.
#include <string>

#include "printer/provision_exchange.h"

// What the operator is told of report, on one line; empty when nothing.
std::wstring ReportText(const PrinterReport& report);
// The step a printer ended in as the JSON and CSV name it: "opening",
// "listing", ...
const wchar_t* StepName(PortStep step);
