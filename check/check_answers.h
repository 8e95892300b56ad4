#pragma once
// The registration check's answers to the operator's next two questions, in
// the check window: the largest size at which the characters fit (with the
// button that takes it) and a line of label text as the printer would print
// it from the registration, redrawn as it is typed.
#include <windows.h>

#include <string>

#include "check/label_line.h"
#include "check/size_fit.h"

// What the form gives the answers besides the build.
struct CheckAnswersInput {
    SizeFit fit;
    int pointSize = 0;   // the form's size, which the build has
    std::u16string line; // the line to start with; empty: the first characters
};

class CCheckAnswers {
public:
    // glyphs must outlive the answers.
    CCheckAnswers(const SheetGlyphs& glyphs, CheckAnswersInput input, int dotsPerMm);

    // Puts the answers into the dialog's controls, the line at zoom.
    void Show(HWND dialog, uint32_t zoom);
    // The line field changed, or the zoom: the line is drawn again.
    void OnLineChanged();
    void OnZoom(uint32_t zoom);
    // The size the button sets: the free memory's answer after a listing,
    // else the empty printer's; 0 when nothing fits.
    int SizeToUse() const;
    // The line as typed, for a check opened again.
    std::u16string LineText() const;

private:
    HWND Item(int id) const { return GetDlgItem(m_hDialog, id); }

    const SheetGlyphs& m_glyphs;
    CheckAnswersInput m_input;
    int m_nDotsPerMm;
    HWND m_hDialog = nullptr;
    uint32_t m_zoom = 1;
};
