#pragma once
// The COM port numbers this program holds, shared by every thread that opens
// a port.
#include <mutex>
#include <vector>

class HeldPorts {
public:
    // False when the port is held already, by this thread or another.
    bool Claim(int port);
    // Gives up a port that Claim took; a port not held is ignored.
    void Release(int port);
    bool IsHeld(int port) const;

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_ports;
};
