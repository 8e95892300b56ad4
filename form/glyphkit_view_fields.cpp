// The main form's field checks: the size and code fields with their spins,
// checked as they lose the focus and again when a command takes the form.
#include "form/glyphkit_view.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "form/glyphkit_doc.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

bool CGlyphkitView::TakeFormAsShown() {
    if (!TakeFieldBeingEdited())
        return false;
    UpdateData(true);
    return true;
}

bool CGlyphkitView::TakeFieldBeingEdited() {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != m_hWnd)
        return true;
    // The fields whose value the settings take when they lose the focus.
    static const struct {
        int id;
        void (CGlyphkitView::*check)();
    } kCheckedFields[] = {{IDC_POINT_SIZE, &CGlyphkitView::OnPointSizeKillFocus},
                          {IDC_CODE_START, &CGlyphkitView::OnCodeStartKillFocus},
                          {IDC_CODE_END, &CGlyphkitView::OnCodeEndKillFocus}};
    const int id = GetDlgCtrlID(focus);
    const auto field = std::find_if(std::begin(kCheckedFields), std::end(kCheckedFields),
                                    [id](const auto& checked) { return checked.id == id; });
    if (field == std::end(kCheckedFields))
        return true;
    // Its check has just refused this text and said so: once is enough.
    if (focus == m_hRefusedField || m_bFieldMessageUp) {
        MessageBeep(MB_OK);
        return false;
    }
    (this->*field->check)();
    return m_hRefusedField != focus;
}

bool CGlyphkitView::CheckSpinField(int editId, int spinId, int low, int high, unsigned message,
                                   int* value) {
    // Showing the message takes the focus away, and giving it back may take
    // it from another field: no check runs inside another's message.
    if (m_bFieldMessageUp)
        return false;
    BOOL parsed = FALSE;
    const int typed = int(GetDlgItemInt(m_hWnd, editId, &parsed, TRUE));
    if (parsed && typed >= low && typed <= high) {
        const LRESULT position = SendMessageW(GetItem(spinId), UDM_GETPOS, 0, 0);
        if (HIWORD(position) != 0)
            return false;
        *value = LOWORD(position);
        if (m_hRefusedField == GetItem(editId))
            m_hRefusedField = nullptr;
        return true;
    }
    HWND edit = GetItem(editId);
    m_bFieldMessageUp = true;
    m_operator.ShowMessage(message);
    m_hRefusedField = edit;
    SetFocus(edit);
    m_bFieldMessageUp = false;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    return false;
}

void CGlyphkitView::OnPointSizeKillFocus() {
    int size = 0;
    if (CheckSpinField(IDC_POINT_SIZE, IDC_POINT_SIZE_SPIN, 1, 72, IDS_BAD_FONT_SIZE, &size)) {
        m_doc.SetPointSize(size);
        Redraw();
    }
}

// The accepted code goes into the settings. Save and Download read the
// fields again as they stand and keep the range they built with.
void CGlyphkitView::OnCodeStartKillFocus() {
    int code = 0;
    if (CheckSpinField(IDC_CODE_START, IDC_CODE_START_SPIN, 32, 255, IDS_BAD_BYTE_RANGE, &code))
        m_doc.SetCodeStart(uint16_t(code));
}

void CGlyphkitView::OnCodeEndKillFocus() {
    int code = 0;
    if (CheckSpinField(IDC_CODE_END, IDC_CODE_END_SPIN, 32, 255, IDS_BAD_BYTE_RANGE, &code))
        m_doc.SetCodeEnd(uint16_t(code));
}
