#pragma once
// Keeping the programs of a session off a COM port that one of them holds.
#include <windows.h>

// The claim of one COM port number by this program among all the programs
// of the session: a named mutex owned while the port is open.
class PortLock {
public:
    PortLock() = default;
    PortLock(PortLock&& other) noexcept : m_mutex(other.m_mutex), m_nPort(other.m_nPort) {
        other.m_mutex = nullptr;
    }
    PortLock& operator=(PortLock&& other) noexcept;
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;
    ~PortLock() { Unlock(); }

    // Not held when another program, or this one, holds the port.
    static PortLock Acquire(int comPort);
    bool IsHeld() const { return m_mutex != nullptr; }
    // Gives the port up; later calls do nothing.
    void Unlock();

private:
    HANDLE m_mutex = nullptr;
    int m_nPort = 0;
};
