#pragma once
// Keeping the programs of a session off a printer that one of them holds: a
// COM port, or a network printer, which serves one connection at a time.
#include <windows.h>

#include <string>

#include "printer/printer_address.h"

// The claim of one printer by this program among all the programs of the
// session: a named mutex owned while the printer is open.
class PortLock {
public:
    PortLock() = default;
    PortLock(PortLock&& other) noexcept : m_mutex(other.m_mutex), m_name(std::move(other.m_name)) {
        other.m_mutex = nullptr;
    }
    PortLock& operator=(PortLock&& other) noexcept;
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;
    ~PortLock() { Unlock(); }

    // Not held when another program, or this one, holds the printer.
    static PortLock Acquire(const PrinterAddress& printer);
    bool IsHeld() const { return m_mutex != nullptr; }
    // Gives the printer up; later calls do nothing.
    void Unlock();

private:
    HANDLE m_mutex = nullptr;
    std::string m_name;
};
