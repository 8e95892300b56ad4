#pragma once
// The virtual printer's command line: --name value pairs and bare flags, and
// what `serve` makes of them.
#include <map>
#include <string>

#include "tools/vprinter/fault_plan.h"
#include "tools/vprinter/tcp_printer.h"

namespace vprinter {

using Options = std::map<std::string, std::string>;

// The arguments after the command; false with a reason on a stray argument
// or an option without its value.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);
// A whole number from -1 to 100,000,000.
bool ToInt(const std::string& text, int& value, int base = 10);

struct ServeOptions {
    std::string link;    // the pty's link, or empty
    std::string tcpHost; // with --tcp
    int tcpPort = -1;    // with --tcp
    std::string state, save, log;
    FaultPlan faults;
    TcpOptions line; // LineOptions and, on TCP, the accept delay
};

// false with a reason for the usage message.
bool ParseServeOptions(const Options& options, ServeOptions& serve, std::string& error);

} // namespace vprinter
