#include "printer/port_lock.h"

#include <string>

#include "printer/held_ports.h"

namespace {

// The printers this program holds. The owner of a mutex may take it again, so
// a second claim from within the program is refused here; the printers of a
// provisioning plan are opened by threads of their own, so the list is
// claimed under its lock.
HeldPorts& ProgramPorts() {
    static HeldPorts held;
    return held;
}

} // namespace

PortLock& PortLock::operator=(PortLock&& other) noexcept {
    if (this != &other) {
        Unlock();
        m_mutex = other.m_mutex;
        m_name = std::move(other.m_name);
        other.m_mutex = nullptr;
    }
    return *this;
}

// Windows refuses a second exclusive open of a COM port, but Wine opens it
// again; a mutex named after the port number keeps two of the session's
// programs off one port on both. A network printer serves one connection at
// a time, so its address is held the same way.
PortLock PortLock::Acquire(const PrinterAddress& printer) {
    const std::string name = PrinterLockName(printer);
    PortLock lock;
    // The port is claimed within the program first, so that two threads
    // never both own the mutex (a mutex's owner is a thread, and another
    // thread of the program would simply wait for it or be refused).
    if (!ProgramPorts().Claim(name))
        return lock;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, ("Local\\Glyphkit." + name).c_str());
    // Abandoned: the last owner ended without giving the port up, which
    // leaves it free.
    const DWORD wait = mutex ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        if (mutex)
            CloseHandle(mutex);
        ProgramPorts().Release(name);
        return lock;
    }
    lock.m_mutex = mutex;
    lock.m_name = name;
    return lock;
}

void PortLock::Unlock() {
    if (!m_mutex)
        return;
    // A mutex is released by the thread that owns it: the thread that
    // acquired the port gives it up (every port owner keeps to its thread).
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
    m_mutex = nullptr;
    ProgramPorts().Release(m_name);
}
