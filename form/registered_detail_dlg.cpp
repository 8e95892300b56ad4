#include "form/registered_detail_dlg.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "framework/code_page_text.h"
#include "res/control_ids.h"

namespace {

std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[256];
    va_list args;
    va_start(args, format);
    std::vswprintf(text, 256, format, args);
    va_end(args);
    return text;
}

} // namespace

const int CFontDetail::kTemplate = IDD_FONT_DETAIL;
const int CLogoDetail::kTemplate = IDD_LOGO_DETAIL;

CRegisteredDetailDlg::CRegisteredDetailDlg(int templateId, HWND parent, const CFontPT& entry)
    : CDialog(templateId, parent), m_record(entry), m_entries(entry.m_charEntries) {}

void CRegisteredDetailDlg::SetItemText(int id, const std::wstring& text) {
    SetWindowTextTo(GetItem(id), text);
}

bool CFontDetail::OnInitDialog() {
    HWND list = GetItem(IDC_DETAIL_LIST);
    for (const CFontPT::CharEntry& entry : m_entries) {
        // The code as one UTF-16 unit, shown in the ANSI code page.
        const std::string ansi = ToCodePage(std::wstring(1, wchar_t(entry[1] << 8 | entry[0])));
        char line[64];
        std::snprintf(line, sizeof line, "0x%02X%02X     %s", entry[0], entry[1], ansi.c_str());
        SendMessageA(list, LB_INSERTSTRING, WPARAM(-1), LPARAM(line));
    }
    SetItemText(IDC_DETAIL_NAME, L"登録名称：" + FromCodePage(m_record.m_szName));
    SetItemText(IDC_DETAIL_ID, Format(L"登録ID：%d", m_record.m_nId));
    SetItemText(IDC_DETAIL_COUNT, Format(L"登録フォント数：%d", int(m_entries.size())));
    SetItemText(IDC_DETAIL_SIZE, Format(L"フォントサイズ：%d", m_record.m_nFontSize));
    SetItemText(IDC_DETAIL_EMPHASIS, m_record.m_nWeight == 400 ? L"強調：無効" : L"強調：有効");
    SetItemText(IDC_DETAIL_ITALIC, m_record.m_cItalic == 0 ? L"斜体：無効" : L"斜体：有効");
    return true;
}

bool CLogoDetail::OnInitDialog() {
    HWND list = GetItem(IDC_DETAIL_LIST);
    for (const CFontPT::CharEntry& entry : m_entries) {
        char line[16];
        std::snprintf(line, sizeof line, "0x%02X%02X", entry[0], entry[1]);
        SendMessageA(list, LB_INSERTSTRING, WPARAM(-1), LPARAM(line));
    }
    SetItemText(IDC_DETAIL_NAME, L"登録名称：" + FromCodePage(m_record.m_szName));
    SetItemText(IDC_DETAIL_ID, Format(L"登録ID：%d", m_record.m_nId));
    const double perMm = m_nDotsPerMm > 0 ? double(m_nDotsPerMm) : 8.0;
    SetItemText(IDC_LOGO_VERTICAL,
                Format(L"縦サイズ：%ddot(%.1fmm)", m_record.m_nSize1, m_record.m_nSize1 / perMm));
    SetItemText(IDC_LOGO_HORIZONTAL,
                Format(L"横サイズ：%ddot(%.1fmm)", m_record.m_nSize2, m_record.m_nSize2 / perMm));
    return true;
}

void ShowRegisteredDetail(HWND parent, const CFontPT& entry, int dotsPerMm) {
    if (entry.IsLogo())
        CLogoDetail(parent, entry, dotsPerMm).DoModal();
    else
        CFontDetail(parent, entry).DoModal();
}
