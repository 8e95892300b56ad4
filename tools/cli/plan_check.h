#pragma once
// Reading a provisioning plan file and checking it whole before any port is
// opened.
#include <string>
#include <vector>

#include "operations/printer_model.h"
#include "printer/provision_plan.h"

// Reads the plan at planPath, loads and builds every registration it names
// (paths relative to the plan's folder) for model (null: each file's own)
// and checks the total against the printer's memory. Returns 0 with plan
// filled, else 2 after naming the line and what is wrong.
int LoadProvisionPlan(const std::wstring& planPath, const PrinterModel* model,
                      std::vector<PlannedRegistration>* plan);
