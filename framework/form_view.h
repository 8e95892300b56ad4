#pragma once
// A form view: a child dialog on a template, filling the frame's client
// area and scrolling when the frame is smaller than the form. The view of a
// single-document application: its initial update runs at start-up and for
// every new document, and its draw operation runs on every paint.
#include "framework/dialog.h"

class CFormView : public CDialog {
public:
    CFormView(int templateId) : CDialog(templateId, nullptr) {}

    // Creates the form inside the frame window; false when it could not be
    // made.
    bool Create(HWND frame);
    // The form's full size in pixels: its template's size, which is also
    // its scroll size.
    SIZE GetTotalSize() const { return m_totalSize; }

    virtual void OnInitialUpdate() {}
    // Called before every menu or accelerator command of the frame: the
    // form takes what is being typed, as if the field lost the focus. False
    // refuses the command. The default takes nothing.
    virtual bool TakeFormAsShown() { return true; }

    void RememberFocus();
    void RestoreFocus();

protected:
    // Paints over the form; the default draws nothing.
    virtual void OnDraw(HDC /*hdc*/) {}
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The dialog keys stay with the form: Enter and Esc close nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void UpdateScrollBars();
    void Scroll(int bar, int request);
    // Moves the form and its controls so that position of the bar's range
    // is at the window's edge.
    void ScrollTo(int bar, int position);

    SIZE m_totalSize{0, 0};
    POINT m_scroll{0, 0};
    HWND m_hFocus = nullptr;
};
