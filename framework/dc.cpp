#include "framework/dc.h"

bool CDC::CreateCompatibleDC(HDC reference) {
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(reference);
    return m_hDC != nullptr;
}

void CDC::DeleteDC() {
    if (m_hDC)
        ::DeleteDC(m_hDC);
    m_hDC = nullptr;
}
