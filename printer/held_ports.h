#pragma once
// The printers this program holds, by the name under which they are held,
// shared by every thread that opens one.
#include <mutex>
#include <string>
#include <vector>

class HeldPorts {
public:
    // False when the printer is held already, by this thread or another.
    bool Claim(const std::string& printer);
    // Gives up a printer that Claim took; one not held is ignored.
    void Release(const std::string& printer);
    bool IsHeld(const std::string& printer) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_printers;
};
