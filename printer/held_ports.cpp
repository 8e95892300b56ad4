#include "printer/held_ports.h"

#include <algorithm>

// Each claim and release is one step under the lock: a thread that looked for
// the printer and then added it in two steps could share the printer with another
// thread that looked in between.
bool HeldPorts::Claim(const std::string& printer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (std::find(m_printers.begin(), m_printers.end(), printer) != m_printers.end())
        return false;
    m_printers.push_back(printer);
    return true;
}

void HeldPorts::Release(const std::string& printer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = std::find(m_printers.begin(), m_printers.end(), printer);
    if (it != m_printers.end())
        m_printers.erase(it);
}

bool HeldPorts::IsHeld(const std::string& printer) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::find(m_printers.begin(), m_printers.end(), printer) != m_printers.end();
}
