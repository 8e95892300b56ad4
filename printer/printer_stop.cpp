#include "printer/printer_stop.h"

void PrinterStop::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStopped = true;
    if (m_cut)
        m_cut();
}

void PrinterStop::SetCut(std::function<void()> cut) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cut = std::move(cut);
    if (m_bStopped && m_cut)
        m_cut();
}

void PrinterStop::ClearCut() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cut = nullptr;
}
