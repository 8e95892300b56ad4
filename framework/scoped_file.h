#pragma once
// A file handle closed exactly once, on every path out of a scope. Close can
// also be called early, where a failed close must count: it is where a full
// disk may show for data written before.
#include <windows.h>

class ScopedFile {
public:
    explicit ScopedFile(HANDLE handle) : m_handle(handle) {}
    ~ScopedFile() { Close(); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

    bool ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    // False when closing failed; true when there was nothing (left) to close.
    bool Close() {
        if (m_handle == INVALID_HANDLE_VALUE)
            return true;
        const bool closed = CloseHandle(m_handle) != FALSE;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};
