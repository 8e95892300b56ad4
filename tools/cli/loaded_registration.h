#pragma once
// A font data file made ready to download, as the Load and Download buttons
// would: loaded, rendered anew for the printer model and the registration ID.
#include <string>

#include "operations/form_operations.h"
#include "operations/printer_model.h"
#include "printer/provision_plan.h"

// The form's fields as Load leaves them, with the one-byte code mode set so
// that a download registers exactly the characters the file holds.
FormFields FieldsAfterLoad(const SettingsRecord& doc, const LoadResult& load);

// Loads the file at path and builds its registration for id into out (its
// information block built, its glyph data in memory), for model (null: the
// file's own, as ChooseModel picks it). False with the tool's message (and
// the file's problem) in problem. A face that is not installed and characters
// without a glyph are reported on standard error under where (the plan's
// line, or the file).
bool BuildRegistrationFromFile(const std::wstring& path, int id, const PrinterModel* model,
                               const std::wstring& where, PlannedRegistration* out,
                               std::wstring* problem);
