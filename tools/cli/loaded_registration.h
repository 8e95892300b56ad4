#pragma once
// A font data file made ready to download, with the console's messages.
#include <string>

#include "operations/printer_model.h"
#include "operations/registration_file.h"
#include "printer/provision_plan.h"

// Loads the file at path and builds its registration for id into out, for
// model (null: the file's own). False with the tool's message (and the
// file's problem) in problem. A face that is not installed and characters
// without a glyph are reported on standard error under where (the plan's
// line, or the file).
bool BuildRegistrationFromFile(const std::wstring& path, int id, const PrinterModel* model,
                               const std::wstring& where, PlannedRegistration* out,
                               std::wstring* problem);
