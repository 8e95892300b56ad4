#include "check/registration_check_dlg.h"

#include <commctrl.h>
#include <commdlg.h>

#include <iterator>

#include "check/check_sheet_wnd.h"
#include "check/sheet_image_file.h"
#include "framework/file_dialog.h"
#include "framework/message_map.h"
#include "framework/message_text.h"
#include "framework/window.h"
#include "printer/text_formats.h"
#include "res/registration_check_ids.h"
#include "res/resource_ids.h"

namespace {

// How each control follows a change of the dialog's size, in halves of the
// change: 0 stays, 1 moves by half, 2 moves by all of it. Controls not listed
// stay where the template puts them.
struct Anchor {
    int id;
    int left, top, right, bottom;
};
const Anchor kAnchors[] = {
    {IDC_CHECK_MISSING, 0, 0, 0, 1},       {IDC_CHECK_DROPPED_LABEL, 0, 1, 0, 1},
    {IDC_CHECK_DROPPED, 0, 1, 0, 2},       {IDC_CHECK_SAVE_IMAGE, 2, 0, 2, 0},
    {IDC_CHECK_SHEET, 0, 0, 2, 2},         {IDOK, 2, 2, 2, 2},
    {IDC_CHECK_SAVE_PROGRESS, 0, 2, 2, 2}, {IDC_CHECK_SAVE_CANCEL, 2, 2, 2, 2},
    {IDC_CHECK_FIT_SIZE, 0, 2, 2, 2},      {IDC_CHECK_USE_SIZE, 2, 2, 2, 2},
    {IDC_CHECK_LINE_LABEL, 0, 2, 0, 2},    {IDC_CHECK_LINE_TEXT, 0, 2, 2, 2},
    {IDC_CHECK_LINE, 0, 2, 2, 2},          {IDC_CHECK_LINE_MISSING, 0, 2, 2, 2},
};

// A save writes in slices of about this many milliseconds, each on a timer
// message; the timer's messages come only when no input or painting waits,
// so the window answers between slices, also inside a move or a menu.
const UINT_PTR kSaveTimer = 1;
const UINT kSliceMs = 40;
// Larger image files are saved only when the operator says so.
const uint64_t kAskAboveBytes = 256ull * 1024 * 1024;
const int kProgressSteps = 1000;

std::wstring Wide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

void FillList(HWND list, const std::vector<uint32_t>& codePoints) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (uint32_t codePoint : codePoints)
        SendMessageW(list, LB_ADDSTRING, 0, LPARAM(Wide(CharacterLine(codePoint)).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

} // namespace

CRegistrationCheckDlg::CRegistrationCheckDlg(HWND owner, const CheckedBuild& build,
                                             const std::u16string& text,
                                             const RegisteredData& listing, std::optional<int> id,
                                             int dotsPerMm, CheckAnswersInput answers)
    : CDialog(IDD_REGISTRATION_CHECK, owner), m_build(build), m_figures(FiguresOf(build.header)),
      m_verdict(JudgeMemory(m_figures.memoryBytes, listing, id)),
      m_dropped(DroppedCharacters(text, build.codes)), m_id(id), m_nDotsPerMm(dotsPerMm),
      m_glyphs(CheckedSheet(build)), m_answers(m_glyphs, std::move(answers), dotsPerMm),
      m_lineText(m_answers.LineText()) {
    // The template names the sheet's class, which must exist before it.
    RegisterCheckSheetClass();
}

bool CRegistrationCheckDlg::OnInitDialog() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_initialClient = {client.right, client.bottom};
    RECT window;
    GetWindowRect(m_hWnd, &window);
    m_minimumTrack = {window.right - window.left, window.bottom - window.top};
    for (const Anchor& anchor : kAnchors) {
        RECT rect;
        GetWindowRect(GetItem(anchor.id), &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        m_placed.push_back(rect);
    }

    ShowFigures();
    HWND zoom = GetItem(IDC_CHECK_ZOOM);
    const uint32_t initial = DefaultSheetZoom(m_glyphs.cellHeight);
    for (uint32_t z : kSheetZooms) {
        const LRESULT item =
            SendMessageW(zoom, CB_ADDSTRING, 0, LPARAM(std::to_wstring(z).c_str()));
        if (z == initial)
            SendMessageW(zoom, CB_SETCURSEL, WPARAM(item), 0);
    }
    SetCheckSheetGlyphs(GetItem(IDC_CHECK_SHEET), m_glyphs, initial);
    m_answers.Show(m_hWnd, initial);
    // The sheet takes the keys first: the arrows and page keys scroll it.
    SetFocus(GetItem(IDC_CHECK_SHEET));
    return false;
}

void CRegistrationCheckDlg::ShowFigures() {
    SetWindowTextTo(GetItem(IDC_CHECK_COUNT), std::to_wstring(m_figures.count));
    SetWindowTextTo(GetItem(IDC_CHECK_BYTES), std::to_wstring(m_figures.memoryBytes));
    SetWindowTextTo(
        GetItem(IDC_CHECK_CELL),
        LoadTextWith(IDS_CHECK_CELL,
                     {std::to_wstring(m_figures.cellWidth), std::to_wstring(m_figures.cellHeight),
                      Wide(Millimetres(m_figures.cellWidth, m_nDotsPerMm)),
                      Wide(Millimetres(m_figures.cellHeight, m_nDotsPerMm))}));

    std::wstring fit =
        LoadText(m_verdict.fitsMemory ? IDS_CHECK_FITS_MEMORY : IDS_CHECK_EXCEEDS_MEMORY);
    fit += L"\r\n";
    if (m_verdict.listingRead)
        fit += LoadTextWith(m_verdict.fitsFree ? IDS_CHECK_FITS_FREE : IDS_CHECK_EXCEEDS_FREE,
                            {std::to_wstring(m_verdict.freeBytes)});
    else
        fit += LoadText(IDS_CHECK_NO_LISTING);
    if (m_verdict.idHeld && m_id) {
        // The list shows an entry's glyph data; the printer's memory also
        // holds its records, which the figures here count.
        fit += L"\r\n" +
               LoadTextWith(IDS_CHECK_HELD_PARTS,
                            {RegistrationIdDigits<wchar_t>(*m_id),
                             std::to_wstring(m_verdict.heldBytes),
                             std::to_wstring(m_verdict.heldDataBytes),
                             std::to_wstring(m_verdict.heldBytes - m_verdict.heldDataBytes)});
    }
    SetWindowTextTo(GetItem(IDC_CHECK_FIT), fit);

    FillList(GetItem(IDC_CHECK_MISSING),
             std::vector<uint32_t>(m_build.missing.begin(), m_build.missing.end()));
    FillList(GetItem(IDC_CHECK_DROPPED), m_dropped);
}

bool CRegistrationCheckDlg::OnCommand(int id, int code) {
    static const CommandEntry<CRegistrationCheckDlg> kCommands[] = {
        {IDC_CHECK_ZOOM, CBN_SELCHANGE, &CRegistrationCheckDlg::OnZoom},
        {IDC_CHECK_SAVE_IMAGE, BN_CLICKED, &CRegistrationCheckDlg::OnSaveImage},
        {IDC_CHECK_SAVE_CANCEL, BN_CLICKED, &CRegistrationCheckDlg::OnStopSave},
        {IDC_CHECK_USE_SIZE, BN_CLICKED, &CRegistrationCheckDlg::OnUseSize},
    };
    if (id == IDC_CHECK_LINE_TEXT && code == EN_CHANGE) {
        m_answers.OnLineChanged();
        return true;
    }
    return DispatchCommand(*this, kCommands, id, code);
}

bool CRegistrationCheckDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kSaveTimer)
            return false;
        ContinueSave();
        *result = 0;
        return true;
    case WM_CLOSE:
        // The close box closes also during a save, which Esc only stops.
        OnStopSave();
        EndDialog(IDCANCEL);
        *result = 0;
        return true;
    case WM_DESTROY:
        m_lineText = m_answers.LineText();
        KillTimer(m_hWnd, kSaveTimer);
        m_save.reset();
        return false;
    case WM_SIZE:
        LayOut();
        *result = 0;
        return true;
    case WM_GETMINMAXINFO:
        if (m_minimumTrack.cx > 0) {
            // Never smaller than the template: the figures and lists keep
            // their room.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {m_minimumTrack.cx, m_minimumTrack.cy};
            *result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

uint32_t CRegistrationCheckDlg::SelectedZoom() const {
    const LRESULT item = SendMessageW(GetItem(IDC_CHECK_ZOOM), CB_GETCURSEL, 0, 0);
    if (item < 0 || size_t(item) >= std::size(kSheetZooms))
        return 1;
    return kSheetZooms[item];
}

void CRegistrationCheckDlg::OnZoom() {
    SetCheckSheetZoom(GetItem(IDC_CHECK_SHEET), SelectedZoom());
    m_answers.OnZoom(SelectedZoom());
}

void CRegistrationCheckDlg::OnUseSize() {
    // The form takes the size through its own field; a save in progress
    // stops as on closing.
    OnStopSave();
    EndDialog(int(kUseSize));
}

void CRegistrationCheckDlg::LayOut() {
    if (m_placed.empty())
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    const LONG dx = client.right - m_initialClient.cx;
    const LONG dy = client.bottom - m_initialClient.cy;
    HDWP moves = BeginDeferWindowPos(int(m_placed.size()));
    for (size_t k = 0; k < m_placed.size() && moves; ++k) {
        const Anchor& a = kAnchors[k];
        const RECT& r = m_placed[k];
        const LONG left = r.left + dx * a.left / 2;
        const LONG top = r.top + dy * a.top / 2;
        const LONG right = r.right + dx * a.right / 2;
        const LONG bottom = r.bottom + dy * a.bottom / 2;
        moves = DeferWindowPos(moves, GetItem(a.id), nullptr, left, top, right - left, bottom - top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves)
        EndDeferWindowPos(moves);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CRegistrationCheckDlg::OnOK() {
    OnStopSave();
    EndDialog(IDOK);
}

void CRegistrationCheckDlg::OnCancel() {
    if (m_save)
        OnStopSave();
    else
        EndDialog(IDCANCEL);
}

int CRegistrationCheckDlg::Tell(const std::wstring& text, UINT flags) {
    return ResultMessageBox(m_hWnd, text, flags | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

void CRegistrationCheckDlg::OnSaveImage() {
    if (m_save)
        return;
    const std::wstring filter = LoadText(IDS_CHECK_IMAGE_FILTER);
    const std::optional<std::wstring> path =
        ChooseFileToSave(m_hWnd, L"bmp", filter.c_str(), L"*.bmp");
    if (!path)
        return;
    auto save = std::make_unique<CSheetImageSave>(m_glyphs, SelectedZoom());
    if (!save->Fits()) {
        Tell(LoadText(IDS_CHECK_IMAGE_TOO_LARGE), MB_OK);
        return;
    }
    const uint64_t size = save->FileSize();
    if (size > kAskAboveBytes &&
        Tell(LoadTextWith(
                 IDS_CHECK_IMAGE_ASK_LARGE,
                 {std::to_wstring((size + 512 * 1024) / (1024 * 1024)), std::to_wstring(size)}),
             MB_YESNO) != IDYES)
        return;
    if (!save->Start(*path)) {
        Tell(LoadTextWith(IDS_CHECK_IMAGE_FAILED_AT, {*path, SystemErrorText(save->Error())}),
             MB_OK);
        return;
    }
    m_save = std::move(save);
    m_savePath = *path;
    ShowSaving(true);
    SetTimer(m_hWnd, kSaveTimer, USER_TIMER_MINIMUM, nullptr);
}

void CRegistrationCheckDlg::ContinueSave() {
    if (!m_save) {
        KillTimer(m_hWnd, kSaveTimer);
        return;
    }
    const CSheetImageSave::Step step = m_save->Continue(kSliceMs);
    const uint64_t size = std::max<uint64_t>(m_save->FileSize(), 1);
    SendMessageW(GetItem(IDC_CHECK_SAVE_PROGRESS), PBM_SETPOS,
                 WPARAM(m_save->Written() * kProgressSteps / size), 0);
    if (step == CSheetImageSave::Step::Going)
        return;
    const uint32_t error = m_save->Error();
    OnStopSave();
    if (step == CSheetImageSave::Step::Failed)
        Tell(LoadTextWith(IDS_CHECK_IMAGE_FAILED_AT, {m_savePath, SystemErrorText(error)}), MB_OK);
}

void CRegistrationCheckDlg::OnStopSave() {
    KillTimer(m_hWnd, kSaveTimer);
    if (!m_save)
        return;
    // Whatever the save wrote goes with it.
    m_save.reset();
    ShowSaving(false);
}

void CRegistrationCheckDlg::ShowSaving(bool saving) {
    HWND progress = GetItem(IDC_CHECK_SAVE_PROGRESS);
    HWND cancel = GetItem(IDC_CHECK_SAVE_CANCEL);
    HWND focus = GetFocus();
    SendMessageW(progress, PBM_SETRANGE32, 0, kProgressSteps);
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    ShowWindow(progress, saving ? SW_SHOWNA : SW_HIDE);
    ShowWindow(cancel, saving ? SW_SHOWNA : SW_HIDE);
    EnableWindow(GetItem(IDC_CHECK_SAVE_IMAGE), saving ? FALSE : TRUE);
    // The keys go on scrolling the sheet rather than to a button that went.
    if (focus == cancel || focus == GetItem(IDC_CHECK_SAVE_IMAGE) || !focus)
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, WPARAM(GetItem(IDC_CHECK_SHEET)), TRUE);
}
