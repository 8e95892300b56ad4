#pragma once
// Ctrl+C and Ctrl+Break in glyphkit-cli. From the start of every command an
// interrupted command says so and ends with status 1, never as a success:
// at once, or, while a run on several printers holds its ports, once the
// ports are closed.
#include <atomic>

// The exit status of an interrupted command.
constexpr int kInterruptedStatus = 1;

// Puts the handler in place; the first thing the program does.
void InstallInterruptHandler();

// While one lives, Ctrl+C only sets flag: the run stops its ports itself.
class InterruptFlag {
public:
    explicit InterruptFlag(std::atomic<bool>& flag);
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;
};
