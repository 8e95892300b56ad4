#include "form/stand_in_face.h"

void CStandInFace::Loaded(HWND combo, const std::string& face, bool installed) {
    if (!m_face.empty())
        Drop(combo);
    if (!installed)
        m_face = face;
}

void CStandInFace::Chosen(HWND combo, const std::string& face) {
    if (!m_face.empty() && face != m_face)
        Drop(combo);
}

bool CStandInFace::Select(HWND combo, const std::string& face) const {
    if (m_face.empty() || face != m_face)
        return false;
    LRESULT item = SendMessageA(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(m_face.c_str()));
    if (item == CB_ERR)
        item = SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(m_face.c_str()));
    SendMessageW(combo, CB_SETCURSEL, WPARAM(item), 0);
    return true;
}

void CStandInFace::Drop(HWND combo) {
    const LRESULT item =
        SendMessageA(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(m_face.c_str()));
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (item != CB_ERR) {
        SendMessageW(combo, CB_DELETESTRING, WPARAM(item), 0);
        // The selection stays on the face the operator chose.
        if (selected != CB_ERR && selected != item)
            SendMessageW(combo, CB_SETCURSEL, WPARAM(selected > item ? selected - 1 : selected), 0);
    }
    m_face.clear();
}
