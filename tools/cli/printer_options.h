#pragma once
// The options every printer command of glyphkit-cli reads: --port N (1 to
// 20, as the COM port dialog offers; 1 when absent), or for the commands that
// run on several printers at once a list such as --port 1,2,3,4; and, for a
// command that asks the operator, its yes|no answer.
#include <optional>
#include <string>
#include <vector>

#include "tools/cli/cli_args.h"

struct PrinterOptions {
    int port = 1;               // the first of ports
    std::vector<int> ports{1};  // each at most once
    std::optional<bool> answer; // nothing when not given
    std::wstring error;         // a usage error's text; empty when all are good
};

// answerName: the yes|no option's name without "--", empty for none;
// portList: whether --port may name several ports.
PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName = L"",
                                  bool portList = false);
