#pragma once
// The printer model a command renders for: --model QC150|QW300|QW400, else
// the command's own default.
#include "fontdata/font_header.h"
#include "operations/printer_model.h"
#include "tools/cli/cli_args.h"

// Reads --model into model: the model it names, null when it is not given.
// 0, or the exit status after the usage error when it names no model.
int ReadModelOption(const CliArgs& args, const PrinterModel** model);

// The model to render a font data file for: named, else the one whose
// resolution the file's header states (203 dpi when it states neither 203
// nor 305).
const PrinterModel& ChooseModel(const PrinterModel* named, const FontHeader& header);
