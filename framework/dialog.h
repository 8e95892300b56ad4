#pragma once
// A dialog on a template of the program's resources, modal or modeless, with
// a few hooks: init, command, notify, other messages, OK and Cancel. Public
// fields of a derived dialog are its contract: OnInitDialog puts them into
// the controls, OnOK takes them back.
#include "framework/data_exchange.h"
#include "framework/window.h"

class CDialog : public CWnd {
public:
    CDialog(int templateId, HWND parent) : m_nTemplateId(templateId), m_hParent(parent) {}

    // Runs the dialog modally: IDOK, IDCANCEL, another EndDialog code, or -1
    // when it could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless (shown when its template says so) and
    // lets the message loop give it its keyboard messages.
    bool CreateModeless();
    void DestroyModeless();

protected:
    virtual bool OnInitDialog() { return true; }
    // A command of a control or menu; true when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    // A WM_NOTIFY; true when handled, with the result in *result.
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT* /*result*/) { return false; }
    // Any other message; true when handled, with the result in *result.
    virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT* /*result*/) { return false; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    void EndDialog(int result);
    // Runs DoDataExchange in the direction given.
    void UpdateData(bool saveAndValidate);
    virtual void DoDataExchange(CDataExchange& /*dx*/) {}

    int m_nTemplateId;
    HWND m_hParent;

private:
    struct Binding;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bModeless = false;
};
