#pragma once
// Runs a program with a time limit and collects its output and exit status.
#include <atomic>
#include <string>
#include <vector>

namespace integration {

struct ProcessResult {
    int exitCode = -1; // -1 when it did not end by itself
    bool timedOut = false;
    std::string out;
    std::string err;
};

// argv[0] is looked up in PATH when it has no slash. The process runs in its
// own process group, which is killed when `timeoutMs` passes. When interrupt
// becomes true the group gets SIGINT once, as from Ctrl+C on a terminal.
ProcessResult RunProcess(const std::vector<std::string>& argv, int timeoutMs,
                         const std::atomic<bool>* interrupt = nullptr);

// The same with standard error in a pipe of one page that is not read until
// the process has ended, as when nobody reads a program's messages any more:
// once the pipe is full the program cannot write another message, and the
// group gets SIGINT.
ProcessResult RunProcessInterruptedWhenErrFull(const std::vector<std::string>& argv, int timeoutMs);

} // namespace integration
