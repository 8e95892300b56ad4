#include "check/check_answers.h"

#include "check/check_line_wnd.h"
#include "check/registration_check.h"
#include "framework/message_text.h"
#include "framework/window.h"
#include "res/registration_check_ids.h"

namespace {

// A label line is short; the field takes a little more than a wide label.
const int kLineLimit = 256;
// The line a check opens with: the registration's first characters.
const size_t kFirstCharacters = 12;

std::wstring FitText(int largest, unsigned fits, unsigned none) {
    return largest > 0 ? LoadTextWith(fits, {std::to_wstring(largest)}) : LoadText(none);
}

} // namespace

CCheckAnswers::CCheckAnswers(const SheetGlyphs& glyphs, CheckAnswersInput input, int dotsPerMm)
    : m_glyphs(glyphs), m_input(std::move(input)), m_nDotsPerMm(dotsPerMm) {
    RegisterCheckLineClass();
}

void CCheckAnswers::Show(HWND dialog, uint32_t zoom) {
    m_hDialog = dialog;
    m_zoom = zoom;
    std::wstring fit = FitText(m_input.fit.empty, IDS_CHECK_FIT_EMPTY, IDS_CHECK_FIT_NONE_EMPTY);
    if (m_input.fit.free)
        fit += L"\r\n" + FitText(*m_input.fit.free, IDS_CHECK_FIT_FREE, IDS_CHECK_FIT_NONE_FREE);
    SetWindowTextTo(Item(IDC_CHECK_FIT_SIZE), fit);
    const int size = SizeToUse();
    HWND use = Item(IDC_CHECK_USE_SIZE);
    SetWindowTextTo(use, LoadTextWith(IDS_CHECK_USE_SIZE, {std::to_wstring(size)}));
    // The form has that size already, or nothing fits: nothing to set.
    EnableWindow(use, size > 0 && size != m_input.pointSize);

    HWND field = Item(IDC_CHECK_LINE_TEXT);
    SendMessageW(field, EM_LIMITTEXT, kLineLimit, 0);
    const std::u16string line =
        m_input.line.empty() ? FirstCharactersLine(m_glyphs, kFirstCharacters) : m_input.line;
    SetWindowTextTo(field, std::wstring(line.begin(), line.end()));
    // Drawn here too: an empty text may send no change.
    OnLineChanged();
}

void CCheckAnswers::OnLineChanged() {
    if (!m_hDialog)
        return;
    const LabelLine line = LabelLineOf(LineText(), m_glyphs);
    SetCheckLine(Item(IDC_CHECK_LINE), m_glyphs, line, m_zoom, m_nDotsPerMm);
    std::wstring names;
    for (uint32_t codePoint : line.missing) {
        const std::u16string name = CharacterLine(codePoint);
        names += (names.empty() ? L"" : L"、") + std::wstring(name.begin(), name.end());
    }
    SetWindowTextTo(Item(IDC_CHECK_LINE_MISSING),
                    names.empty() ? std::wstring() : LoadTextWith(IDS_CHECK_LINE_MISSING, {names}));
}

void CCheckAnswers::OnZoom(uint32_t zoom) {
    m_zoom = zoom;
    OnLineChanged();
}

int CCheckAnswers::SizeToUse() const {
    return m_input.fit.free.value_or(m_input.fit.empty);
}

std::u16string CCheckAnswers::LineText() const {
    if (!m_hDialog)
        return m_input.line;
    const std::wstring text = WindowText(Item(IDC_CHECK_LINE_TEXT));
    return std::u16string(text.begin(), text.end());
}
