#pragma once
// A TCP port of 127.0.0.1 taken by this program, for the network printer
// dialog. Listening, it is a printer that takes the connection (the kernel
// completes it from the listen queue) and never says a word: what a window
// waits for until its time-out, or until the operator stops it. Not
// listening, it refuses every connection.
#include <cstdint>
#include <string>

namespace gui {

class LoopbackPort {
public:
    explicit LoopbackPort(bool listening);
    ~LoopbackPort();
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;

    // The port, as typed into the network printer dialog.
    std::wstring Port() const { return std::to_wstring(m_port); }

private:
    uintptr_t m_socket; // a SOCKET
    uint16_t m_port = 0;
};

} // namespace gui
