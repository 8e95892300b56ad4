#pragma once
// A printer on 127.0.0.1 that takes the connection (the kernel completes it
// from the listen queue) and never says a word: what a window waits for
// until its time-out, or until the operator stops it.
#include <cstdint>
#include <string>

namespace gui {

class SilentPrinter {
public:
    SilentPrinter();
    ~SilentPrinter();
    SilentPrinter(const SilentPrinter&) = delete;
    SilentPrinter& operator=(const SilentPrinter&) = delete;

    // The TCP port it listens on, as typed into the network printer dialog.
    std::wstring Port() const { return std::to_wstring(m_port); }

private:
    uintptr_t m_socket; // a SOCKET
    uint16_t m_port = 0;
};

} // namespace gui
