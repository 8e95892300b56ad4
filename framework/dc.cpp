#include "framework/dc.h"

bool CDC::CreateCompatibleDC(HDC reference) {
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(reference);
    m_bOwned = m_hDC != nullptr;
    return m_hDC != nullptr;
}

void CDC::Attach(HDC hdc) {
    DeleteDC();
    m_hDC = hdc;
    m_bOwned = false;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    m_bOwned = false;
    return hdc;
}

void CDC::DeleteDC() {
    if (m_hDC && m_bOwned)
        ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_bOwned = false;
}
