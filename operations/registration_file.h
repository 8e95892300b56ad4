#pragma once
// A font data file made ready to download, as the Load and Download buttons
// would: loaded, rendered anew for the printer model and the registration ID.
// Both front ends build the registrations of a plan through here.
#include <windows.h>

#include <string>

#include "framework/operator.h"
#include "operations/form_operations.h"
#include "operations/installed_families.h"
#include "operations/printer_model.h"
#include "printer/provision_plan.h"

// The model to render a font data file for: named, else the one whose
// resolution the file's header states (203 dpi when it states neither 203
// nor 305).
const PrinterModel& ChooseModel(const PrinterModel* named, const FontHeader& header);

// The form's fields as Load leaves them, with the one-byte code mode set so
// that a download registers exactly the characters the file holds.
FormFields FieldsAfterLoad(const SettingsRecord& doc, const LoadResult& load);

enum class RegistrationFileResult {
    Built,
    Refused, // the file or its build was refused; op was told why
};

// Loads the file at path and builds its registration for id into out (its
// information block built, its glyph data in memory), for model (null: the
// file's own). Why it is refused goes to op (the first message is the
// reason); the characters without a glyph to display. reference: a display
// context to render with.
RegistrationFileResult BuildRegistrationFromFile(const std::wstring& path, int id,
                                                 const PrinterModel* model, HDC reference,
                                                 const InstalledFamilies& fonts, Operator& op,
                                                 FormDisplay& display, PlannedRegistration* out);
