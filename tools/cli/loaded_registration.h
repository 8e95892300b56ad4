#pragma once
// A font data file made ready to download, as the Load and Download buttons
// would: loaded, rendered anew for the printer model and the registration ID.
#include <optional>
#include <string>

#include "app/printer_model.h"
#include "fontdata/font_header.h"
#include "form/form_operations.h"
#include "printer/provision_plan.h"

// The model to render for: modelName, else the one whose resolution the
// file's header states (203 dpi when it states neither 203 nor 305); nothing
// when modelName names no model.
const PrinterModel* ChooseModel(const std::optional<std::wstring>& modelName,
                                const FontHeader& header);

// The form's fields as Load leaves them, with the one-byte code mode set so
// that a download registers exactly the characters the file holds.
FormFields FieldsAfterLoad(const CGlyphkitDoc& doc, const LoadResult& load);

// Loads the file at path and builds its registration for id into out (its
// information block built, its glyph data in memory). False with the tool's
// message (and the file's problem) in problem. A face that is not installed
// and characters without a glyph are reported on standard error under where
// (the plan's line, or the file).
bool BuildRegistrationFromFile(const std::wstring& path, int id,
                               const std::optional<std::wstring>& modelName,
                               const std::wstring& where, PlannedRegistration* out,
                               std::wstring* problem);
