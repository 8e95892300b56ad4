#pragma once
// The registration check window "登録内容の確認": modal, owned by the main
// window, resizable. It shows a registration built as a download would build
// it: characters, bytes in the printer's memory and whether they fit, the
// cell, the characters that will not come out as typed, and every glyph as it
// will be sent, which can be saved as an image while the window goes on
// answering.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/check_answers.h"
#include "check/check_sheet.h"
#include "check/registration_check.h"
#include "check/sheet_image_file.h"
#include "framework/dialog.h"

class CRegistrationCheckDlg : public CDialog {
public:
    // build, listing: must outlive the dialog. text: the registration text it
    // was built from; id: the form's registration ID when it is a valid one.
    // answers: the largest fitting sizes and the line to start with.
    CRegistrationCheckDlg(HWND owner, const CheckedBuild& build, const std::u16string& text,
                          const RegisteredData& listing, std::optional<int> id, int dotsPerMm,
                          CheckAnswersInput answers = {});

    // DoModal's result when the operator chose the size that fits, which
    // SizeToUse gives; the line as typed, for a check opened again.
    static constexpr INT_PTR kUseSize = 2000;
    int SizeToUse() const { return m_answers.SizeToUse(); }
    std::u16string LineText() const { return m_lineText; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Closing stops a save; Esc during a save stops only the save.
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowFigures();
    void OnZoom();
    void OnUseSize();
    void OnSaveImage();
    void OnStopSave();
    void ContinueSave();
    void ShowSaving(bool saving);
    int Tell(const std::wstring& text, UINT flags);
    // Moves and stretches the controls after the dialog's client area
    // changed by (dx, dy) from its template size.
    void LayOut();
    uint32_t SelectedZoom() const;

    const CheckedBuild& m_build;
    RegistrationFigures m_figures;
    MemoryVerdict m_verdict;
    std::vector<uint32_t> m_dropped;
    std::optional<int> m_id;
    int m_nDotsPerMm;
    SheetGlyphs m_glyphs;
    CCheckAnswers m_answers;
    std::u16string m_lineText;               // kept as the window closes
    std::unique_ptr<CSheetImageSave> m_save; // while an image is being saved
    std::wstring m_savePath;

    SIZE m_initialClient{0, 0};
    SIZE m_minimumTrack{0, 0};
    // Where each anchored control stands in the template's client area, in
    // the order of the anchors.
    std::vector<RECT> m_placed;
};
