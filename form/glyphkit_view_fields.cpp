// The main form's field checks: the size and code fields with their spins,
// checked as they lose the focus and again when a command takes the form.
#include "form/glyphkit_view.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <optional>

#include "operations/form_checks.h"

#include "form/glyphkit_doc.h"
#include "framework/window.h"
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
        bool (CGlyphkitView::*check)();
    } kCheckedFields[] = {{IDC_POINT_SIZE, &CGlyphkitView::TakePointSize},
                          {IDC_CODE_START, &CGlyphkitView::TakeCodeStart},
                          {IDC_CODE_END, &CGlyphkitView::TakeCodeEnd}};
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
    HWND edit = GetItem(editId);
    // The number as the field shows it: "20x" is no 20, and the spin, which
    // cannot read it, must not stand in with the value it had before.
    const std::optional<uint32_t> typed = ParseFieldNumber(NumberFieldText(edit));
    if (typed && int(*typed) >= low && int(*typed) <= high) {
        BOOL failed = FALSE;
        const LRESULT position = SendMessageW(GetItem(spinId), UDM_GETPOS32, 0, LPARAM(&failed));
        if (failed || position != LRESULT(*typed))
            SendMessageW(GetItem(spinId), UDM_SETPOS32, 0, LPARAM(*typed));
        *value = int(*typed);
        if (m_hRefusedField == edit)
            m_hRefusedField = nullptr;
        return true;
    }
    m_bFieldMessageUp = true;
    m_operator.ShowMessage(message);
    m_hRefusedField = edit;
    SetFocus(edit);
    m_bFieldMessageUp = false;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    return false;
}

bool CGlyphkitView::TakeShownFields() {
    return TakePointSize() && TakeCodeStart() && TakeCodeEnd();
}

bool CGlyphkitView::TakePointSize() {
    int size = 0;
    if (!CheckSpinField(IDC_POINT_SIZE, IDC_POINT_SIZE_SPIN, 1, 72, IDS_BAD_FONT_SIZE, &size))
        return false;
    if (size != m_doc.GetPointSize()) {
        m_doc.SetPointSize(size);
        Redraw();
    }
    return true;
}

// The accepted code goes into the settings. Save and Download read the
// fields again as they stand and keep the range they built with.
bool CGlyphkitView::TakeCodeStart() {
    int code = 0;
    if (!CheckSpinField(IDC_CODE_START, IDC_CODE_START_SPIN, 32, 255, IDS_BAD_BYTE_RANGE, &code))
        return false;
    m_doc.SetCodeStart(uint16_t(code));
    return true;
}

bool CGlyphkitView::TakeCodeEnd() {
    int code = 0;
    if (!CheckSpinField(IDC_CODE_END, IDC_CODE_END_SPIN, 32, 255, IDS_BAD_BYTE_RANGE, &code))
        return false;
    m_doc.SetCodeEnd(uint16_t(code));
    return true;
}

void CGlyphkitView::OnPointSizeKillFocus() {
    TakePointSize();
}

void CGlyphkitView::OnCodeStartKillFocus() {
    TakeCodeStart();
}

void CGlyphkitView::OnCodeEndKillFocus() {
    TakeCodeEnd();
}
