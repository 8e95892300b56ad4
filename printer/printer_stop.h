#pragma once
// The operator's way out of a printer operation that another thread runs:
// stopping it cuts the connection open at the time, so that a wait on the
// printer ends at once, and the link sends nothing more.
#include <atomic>
#include <functional>
#include <mutex>

#include "printer/printer_link.h"

class PrinterStop {
public:
    // Any thread. The cut of the open connection runs here; later ones run
    // as soon as they are set.
    void Stop();
    bool Stopped() const { return m_bStopped; }

    // The connection just opened tells how to cut it, and takes the cut back
    // before it closes, so that no cut meets a connection that is gone.
    void SetCut(std::function<void()> cut);
    void ClearCut();

private:
    std::mutex m_mutex;
    std::function<void()> m_cut; // under m_mutex
    std::atomic<bool> m_bStopped{false};
};

// The link of an operation that can be stopped: once stopped, nothing is
// written and every read fails at once.
class StoppableLink : public PrinterLink {
public:
    StoppableLink(PrinterLink& link, const PrinterStop& stop) : m_link(link), m_stop(stop) {}
    bool WriteBlock(const uint8_t* data, size_t count) override {
        return !m_stop.Stopped() && m_link.WriteBlock(data, count);
    }
    bool WriteByte(uint8_t value) override { return !m_stop.Stopped() && m_link.WriteByte(value); }
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) override {
        return !m_stop.Stopped() && m_link.ReadBlock(buffer, count, constantMs) &&
               !m_stop.Stopped();
    }
    bool BytesWaiting() override { return m_link.BytesWaiting(); }

private:
    PrinterLink& m_link;
    const PrinterStop& m_stop;
};
