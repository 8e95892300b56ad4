#pragma once
// The main form's fields and settings as the console tool takes them from
// options, for build and check: --face NAME --size PT --name REGNAME [--bold]
// [--italic] [--text TEXT | --text-file FILE [--unicode]] [--range START-END]
// [--model QC150|QW300|QW400].
#include <set>
#include <string>

#include "operations/form_checks.h"
#include "operations/printer_model.h"
#include "operations/settings_record.h"
#include "tools/cli/cli_args.h"

// The option names read here.
extern const std::set<std::wstring> kFormOptionNames;

struct FormOptions {
    FormFields fields;
    int points = 10;
    bool bold = false;
    bool italic = false;
    bool unicode = false;
    const PrinterModel* model = nullptr;

    // The settings the form keeps besides its fields.
    void ApplyTo(SettingsRecord& doc) const;
};

// Reads the options; 0, or the exit status after printing why (usage: the
// line printed when a required option is missing).
int ReadFormOptions(const CliArgs& args, const wchar_t* usage, FormOptions* options);
