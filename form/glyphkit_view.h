#pragma once
// The main form: the view of the registration being composed. It keeps the
// settings in step with its controls, checks what the operator types, draws
// the preview and hands Save and Load to the form's operations.
#include "form/form_host.h"
#include "form/form_transfer.h"
#include "form/message_box_operator.h"
#include "form/stand_in_face.h"
#include "framework/form_view.h"
#include "operations/form_operations.h"

#include <optional>
#include <string>
#include <utility>

class CGlyphkitDoc;

class CGlyphkitView : public CFormView, private FormDisplay {
public:
    CGlyphkitView(CGlyphkitDoc& doc, FormHost& host);
    ~CGlyphkitView() override;

    void OnInitialUpdate() override;
    // Puts the settings into the controls; the registration name only when
    // withName (after Load), since the name is read from its field.
    void RefreshForm(bool withName);
    // Every command begins here: the field being typed in is taken as if it
    // lost the focus, and the registration ID as it stands. False when the
    // field's check refused its text (its message shown once).
    bool TakeFormAsShown() override;
    // A download is being built or sent, or a printer command runs.
    bool Transferring() const { return m_transfer.Running(); }
    // What runs is a printer command (情報取得, クリア, オールクリア).
    bool PrinterCommandRunning() const { return m_transfer.CommandRunning(); }
    // The registration check (glyphkit_view_check.cpp): the form built as a
    // download would build it, shown in its window; nothing is changed.
    void CheckRegistration();
    // The form saved as 保存 saves it, for a batch plan (glyphkit_view_batch.cpp):
    // the registration ID typed and the file chosen; nothing when a check
    // refused the form (its message shown) or the operator cancelled.
    // idFree: whether the plan takes the ID, asked before the save dialog.
    std::optional<std::pair<int, std::wstring>>
    SaveForPlan(const std::function<bool(int id)>& idFree);
    // The printer column names the printer it talks to.
    void ShowPrinter();
    // Another printer was chosen: the list and the memory line go back to
    // how they are at start-up.
    void ForgetRegisteredData();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnDraw(HDC hdc) override;
    // Esc on the form: while a printer job runs, 中止 of its wait or
    // progress window; otherwise nothing.
    void OnCancel() override { m_transfer.Stop(); }

private:
    // Handlers, by control.
    void ApplyFontSelection();
    void OnBold();
    void OnItalic();
    void OnPointSizeKillFocus();
    void OnCodeStartKillFocus();
    void OnCodeEndKillFocus();
    void OnRangeSwitch();
    void OnUnicodeFile();
    void OnTextFile();
    void OnLoad();
    void OnSave();
    void OnExit();
    void OnGetInfo();
    void OnClear();
    void OnAllClear();
    void OnDownload();
    void OnShowDetail();
    void OnTextLimit();
    void OnTextPasteRefused();

    // 情報取得, クリア and オールクリア: the command on the printer, on a thread
    // of its own.
    void RunPrinterCommand(int buttonId, const CFormOperations::PrinterCommand& command);
    void EnableRegistrationText(bool enable);
    FormFields ReadFields() const;
    // The registration ID field as a number, read where it stands.
    RegistrationIdField ReadRegistrationId() const;
    FormEnvironment Environment() const;

    // The field checks (glyphkit_view_fields.cpp). The check of an edit
    // with its spin: the value when it parses and lies in [low, high], else
    // the message, the focus back and nothing. A check that runs while its
    // own message is up does nothing.
    bool CheckSpinField(int editId, int spinId, int low, int high, unsigned message, int* value);
    // The check of the size or code field that has the focus, if one has.
    bool TakeFieldBeingEdited();
    // Save, Download and the registration check read the size and both
    // codes as their fields show them, each checked; false after a refusal.
    bool TakeShownFields();
    bool TakePointSize();
    bool TakeCodeStart();
    bool TakeCodeEnd();

    // FormDisplay: the focus after a refusal, the registered data column. A
    // download's progress comes through the window's transfer instead.
    void FieldRefused(FormField field) override;
    int LineWidth(const std::string& line) override;
    void ShowRegisteredData(const RegisteredData& data, int extent) override;

    CGlyphkitDoc& m_doc;
    FormHost& m_host;
    HWND m_hOwner = nullptr; // the form once it exists, owner of the message boxes
    CMessageBoxOperator m_operator{m_hOwner};
    CFormOperations m_operations;
    std::string m_strRegistrationId; // IDC_REG_ID as data exchange keeps it
    CStandInFace m_standInFace;
    CFormTransfer m_transfer{m_hOwner, m_operator, m_host, m_operations};
    bool m_bFieldMessageUp = false; // a field's check shows its message
    bool m_bCheckOpen = false;      // the registration check window is up
    // The field whose text its check refused, until the text changes: a
    // command that finds the focus there says nothing more.
    HWND m_hRefusedField = nullptr;
};
