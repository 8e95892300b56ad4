#include "printer/port_lock.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The ports this program holds. The owner of a mutex may take it again, so
// a second claim from within the program is refused here; every printer
// operation runs on the one user-interface thread.
std::vector<int>& HeldPorts() {
    static std::vector<int> held;
    return held;
}

} // namespace

PortLock& PortLock::operator=(PortLock&& other) noexcept {
    if (this != &other) {
        Unlock();
        m_mutex = other.m_mutex;
        m_nPort = other.m_nPort;
        other.m_mutex = nullptr;
    }
    return *this;
}

// Windows refuses a second exclusive open of a COM port, but Wine opens it
// again; a mutex named after the port number keeps two of the session's
// programs off one port on both.
PortLock PortLock::Acquire(int comPort) {
    PortLock lock;
    std::vector<int>& held = HeldPorts();
    if (std::find(held.begin(), held.end(), comPort) != held.end())
        return lock;
    char name[40];
    std::snprintf(name, sizeof name, "Local\\Glyphkit.COM%d", comPort);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (!mutex)
        return lock;
    // Abandoned: the last owner ended without giving the port up, which
    // leaves it free.
    const DWORD wait = WaitForSingleObject(mutex, 0);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return lock;
    }
    lock.m_mutex = mutex;
    lock.m_nPort = comPort;
    held.push_back(comPort);
    return lock;
}

void PortLock::Unlock() {
    if (!m_mutex)
        return;
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
    m_mutex = nullptr;
    std::vector<int>& held = HeldPorts();
    const auto it = std::find(held.begin(), held.end(), m_nPort);
    if (it != held.end())
        held.erase(it);
}
