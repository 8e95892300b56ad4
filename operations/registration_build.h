#pragma once
// The one build of a registration from the form, for Save, Download, the
// registration check and the console tool: the form's checks, the code list,
// the font header, rendering at the printer's resolution and, for a
// download, the registration ID and the download record. It changes nothing:
// the front end says why a build was refused, and Save and Download put what
// they built into the settings.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fontdata/registration_builder.h"
#include "framework/operator.h"
#include "operations/form_checks.h"
#include "printer/font_pt.h"
#include "printer/printer_address.h"

class InstalledFamilies;
class SettingsRecord;

// The chosen printer model, the port and the context builds render against.
struct FormEnvironment {
    HDC reference = nullptr; // the preview area's context
    int resolution = 203;    // dots per inch of the chosen printer model
    PrinterAddress printer;
    bool deferGlyphs = false; // the build renders no glyph until one is asked for
};

// The fields that a refused build sends the operator back to.
enum class FormField { RegistrationId, RegistrationName };

// A registration built from the form, or why there is none.
struct FormRegistration {
    bool built = false;
    // Why it was not built: the message, or 0 for a want of memory, which
    // stops a build silently; the field to go back to, if any.
    unsigned message = 0;
    MessageCaption caption = MessageCaption::Result;
    std::optional<FormField> refusedField;

    // The face, taken once the form passed its checks, also when the build
    // stopped after that: the selected face, with its record in the font
    // list when it is installed.
    bool faceTaken = false;
    std::string faceName;
    std::optional<LOGFONTA> installedFace;

    std::string regName;
    FontHeader settingsHeader;     // the settings' header as the build wrote it, before rendering
    std::vector<uint16_t> codes;   // the code list, ascending
    BuiltRegistration rendered;    // the completed header, records and glyph data (or deferred)
    std::vector<uint16_t> missing; // codes the face has no glyph for (its empty box)
    // With a registration ID: the ID, and the download record for it with its
    // information block built.
    std::optional<int> registrationId;
    CFontPT download;
};

// The form's checks alone, as a build begins with them: message 0 when the
// form passes, else the refusal.
FormRegistration CheckFormFields(const FormFields& fields, RegistrationAction checks);

// The registration ID field as a download reads it, parsed where it is read:
// its ID, or none when its text names no ID from 0 to 99 (the build tells
// that after its other checks).
struct RegistrationIdField {
    std::optional<int> id;
};

// Builds the form's fields with settings' size, style and description
// against the installed fonts. checks: Save's or Download's; idField: the ID
// field, checked last, when the build is a download.
FormRegistration BuildFormRegistration(const SettingsRecord& settings,
                                       const InstalledFamilies& fonts, const FormFields& fields,
                                       const FormEnvironment& environment,
                                       RegistrationAction checks,
                                       const std::optional<RegistrationIdField>& idField);
