#include "printer/held_ports.h"

#include <algorithm>

// Each claim and release is one step under the lock: a thread that looked for
// the port and then added it in two steps could share the port with another
// thread that looked in between.
bool HeldPorts::Claim(int port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (std::find(m_ports.begin(), m_ports.end(), port) != m_ports.end())
        return false;
    m_ports.push_back(port);
    return true;
}

void HeldPorts::Release(int port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = std::find(m_ports.begin(), m_ports.end(), port);
    if (it != m_ports.end())
        m_ports.erase(it);
}

bool HeldPorts::IsHeld(int port) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::find(m_ports.begin(), m_ports.end(), port) != m_ports.end();
}
