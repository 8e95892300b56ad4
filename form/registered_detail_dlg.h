#pragma once
// The details of one entry of the registered data list: a font's characters,
// size and style, or a logo's call code and size. Both dialogs hold copies,
// so nothing a later listing does changes what they show.
#include <vector>

#include "framework/dialog.h"
#include "printer/font_pt.h"

class CRegisteredDetailDlg : public CDialog {
protected:
    CRegisteredDetailDlg(int templateId, HWND parent, const CFontPT& entry);
    void SetItemText(int id, const std::wstring& text);

    CFontPT m_record; // the entry as the listing decoded it
    std::vector<CFontPT::CharEntry> m_entries;
};

class CFontDetail : public CRegisteredDetailDlg {
public:
    CFontDetail(HWND parent, const CFontPT& entry)
        : CRegisteredDetailDlg(kTemplate, parent, entry) {}

protected:
    bool OnInitDialog() override;

private:
    static const int kTemplate;
};

class CLogoDetail : public CRegisteredDetailDlg {
public:
    CLogoDetail(HWND parent, const CFontPT& entry, int dotsPerMm)
        : CRegisteredDetailDlg(kTemplate, parent, entry), m_nDotsPerMm(dotsPerMm) {}

protected:
    bool OnInitDialog() override;

private:
    static const int kTemplate;
    int m_nDotsPerMm;
};

// The dialog that fits the entry, run modally.
void ShowRegisteredDetail(HWND parent, const CFontPT& entry, int dotsPerMm);
