#pragma once
// Ctrl+C and Ctrl+Break as a request to stop, while a run on the printers
// lasts, instead of the end of the program.
#include <atomic>

class InterruptFlag {
public:
    // flag becomes true at the first Ctrl+C or Ctrl+Break.
    explicit InterruptFlag(std::atomic<bool>& flag);
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;
};
