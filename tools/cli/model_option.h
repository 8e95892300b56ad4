#pragma once
// The printer model a command renders for: --model QC150|QW300|QW400, else
// the command's own default.
#include "operations/printer_model.h"
#include "operations/registration_file.h"
#include "tools/cli/cli_args.h"

// Reads --model into model: the model it names, null when it is not given.
// 0, or the exit status after the usage error when it names no model.
int ReadModelOption(const CliArgs& args, const PrinterModel** model);
