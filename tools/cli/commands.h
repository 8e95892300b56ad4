#pragma once
// The commands of glyphkit-cli. Each returns the exit status: 0 success,
// 1 the operation failed (its message printed), 2 usage error.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/cli/cli_args.h"
#include "tools/cli/plan_run_options.h"
#include "tools/cli/printer_options.h"

int RunFonts(const CliArgs& args);
int RunCodes(const CliArgs& args);
int RunBuild(const CliArgs& args);
int RunCheck(const CliArgs& args);
int RunShow(const CliArgs& args);
int RunGlyphs(const CliArgs& args);
int RunList(const CliArgs& args);
int RunDelete(const CliArgs& args);
int RunClear(const CliArgs& args);
int RunDownload(const CliArgs& args);
int RunProvision(const CliArgs& args);
// download FILE.kfd --id N on several printers, or with --converge or
// --json: a plan of that one line.
int RunDownloadOnPorts(const CliArgs& args, const PrinterOptions& printers,
                       const PlanRunOptions& run);

// Prints "glyphkit-cli: <text>" on standard error and returns 2.
int UsageError(const std::wstring& text);
// The same with the usage of the command named so.
int CommandUsageError(const wchar_t* command);
// Prints the text of a string-table message on standard error and returns 1.
int Failure(unsigned messageId);
// Prints text, then the file at path and the system's reason for systemError
// on a line of their own, on standard error; returns 1.
int FileFailure(const std::wstring& text, const std::wstring& path, uint32_t systemError);
