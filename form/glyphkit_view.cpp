#include "form/glyphkit_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <optional>
#include <vector>

#include "fontdata/font_header.h"
#include "form/font_family_list.h"
#include "form/glyphkit_doc.h"
#include "form/preview.h"
#include "form/registered_detail_dlg.h"
#include "form/registration_text_control.h"
#include "form/whole_paste_edit.h"
#include "framework/code_page_text.h"
#include "framework/dc.h"
#include "framework/file_dialog.h"
#include "framework/message_map.h"
#include "framework/message_text.h"
#include "framework/wait_cursor.h"
#include "framework/win_app.h"
#include "operations/memory_usage_text.h"
#include "operations/text_file_input.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

namespace {

const wchar_t kFontDataFilter[] = L"ﾐﾆｹｽﾄﾚﾙ/ｹｽﾄﾚﾙﾌｫﾝﾄﾃﾞｰﾀ(*.kfd)|*.kfd||";
const wchar_t kTextFilter[] = L"Text File(*.txt)|*.txt||";

// The buttons that act on the form or the printer: each takes the form as it
// shows first.
const int kFormCommands[] = {IDC_DOWNLOAD, IDC_SAVE,      IDC_LOAD, IDC_GET_INFO,
                             IDC_CLEAR,    IDC_ALL_CLEAR, IDC_EXIT, IDC_TEXT_FILE};

bool IsFormCommand(int id) {
    return std::find(std::begin(kFormCommands), std::end(kFormCommands), id) !=
           std::end(kFormCommands);
}

void SetSpin(HWND spin, int low, int high, int position) {
    SendMessageW(spin, UDM_SETRANGE32, WPARAM(low), LPARAM(high));
    SendMessageW(spin, UDM_SETPOS32, 0, LPARAM(position));
}

} // namespace

CGlyphkitView::CGlyphkitView(CGlyphkitDoc& doc, FormHost& host)
    : CFormView(IDD_GLYPHKIT_FORM), m_doc(doc), m_host(host),
      m_operations(doc, host.Fonts(), m_operator, *this) {}

CGlyphkitView::~CGlyphkitView() = default;

bool CGlyphkitView::OnInitDialog() {
    m_hOwner = m_hWnd;
    RefuseCutPastes(GetItem(IDC_REG_ID));
    RefuseCutPastesOverBytes(GetItem(IDC_REG_NAME), FontHeader::kNameWidth,
                             LoadText(IDS_NAME_PASTE_TIP_TITLE), LoadText(IDS_NAME_PASTE_TIP));
    // The characters box holds what a text file may bring, and says so at
    // once: a paste of some 100,000 characters took the edit half a minute.
    SendMessageW(GetItem(IDC_REG_TEXT), EM_SETLIMITTEXT, kMaxTextFileBytes, 0);
    RefuseCutPastes(GetItem(IDC_REG_TEXT));
    return true;
}

void CGlyphkitView::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_REG_ID, m_strRegistrationId);
}

bool CGlyphkitView::OnCommand(int id, int code) {
    static const CommandEntry<CGlyphkitView> kCommands[] = {
        {IDC_FONT_COMBO, CBN_SELCHANGE, &CGlyphkitView::ApplyFontSelection},
        {IDC_BOLD, BN_CLICKED, &CGlyphkitView::OnBold},
        {IDC_ITALIC, BN_CLICKED, &CGlyphkitView::OnItalic},
        {IDC_POINT_SIZE, EN_KILLFOCUS, &CGlyphkitView::OnPointSizeKillFocus},
        {IDC_CODE_START, EN_KILLFOCUS, &CGlyphkitView::OnCodeStartKillFocus},
        {IDC_CODE_END, EN_KILLFOCUS, &CGlyphkitView::OnCodeEndKillFocus},
        {IDC_RANGE_ON, BN_CLICKED, &CGlyphkitView::OnRangeSwitch},
        {IDC_UNICODE_FILE, BN_CLICKED, &CGlyphkitView::OnUnicodeFile},
        {IDC_TEXT_FILE, BN_CLICKED, &CGlyphkitView::OnTextFile},
        {IDC_LOAD, BN_CLICKED, &CGlyphkitView::OnLoad},
        {IDC_SAVE, BN_CLICKED, &CGlyphkitView::OnSave},
        {IDC_EXIT, BN_CLICKED, &CGlyphkitView::OnExit},
        {IDC_GET_INFO, BN_CLICKED, &CGlyphkitView::OnGetInfo},
        {IDC_CLEAR, BN_CLICKED, &CGlyphkitView::OnClear},
        {IDC_ALL_CLEAR, BN_CLICKED, &CGlyphkitView::OnAllClear},
        {IDC_DOWNLOAD, BN_CLICKED, &CGlyphkitView::OnDownload},
        {IDC_REGISTERED_LIST, LBN_DBLCLK, &CGlyphkitView::OnShowDetail},
        {IDC_REG_TEXT, EN_MAXTEXT, &CGlyphkitView::OnTextLimit},
        {IDC_REG_TEXT, kPasteRefused, &CGlyphkitView::OnTextPasteRefused},
    };
    // Held buttons are disabled during a download; a command that reaches
    // the form anyway (sent, not clicked) is dropped as well.
    if (m_transfer.Holds(id))
        return true;
    if (code == EN_CHANGE && GetItem(id) == m_hRefusedField)
        m_hRefusedField = nullptr;
    if (code == BN_CLICKED && IsFormCommand(id) && !TakeFormAsShown())
        return true;
    return DispatchCommand(*this, kCommands, id, code);
}

bool CGlyphkitView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // The port is held while a download runs: the hourglass over the form,
    // whose menu and frame stay usable.
    if (message == WM_SETCURSOR && Transferring() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
        *result = TRUE;
        return true;
    }
    return CFormView::OnMessage(message, wParam, lParam, result);
}

bool CGlyphkitView::OnNotify(NMHDR* header, LRESULT* result) {
    // The size spin: the size follows the proposed position at once.
    if (header->idFrom == IDC_POINT_SIZE_SPIN && header->code == UDN_DELTAPOS) {
        const NMUPDOWN* change = reinterpret_cast<const NMUPDOWN*>(header);
        m_doc.SetPointSize(std::clamp(change->iPos + change->iDelta, 1, 72));
        Redraw();
        *result = 0; // the change is allowed
        return true;
    }
    return false;
}

void CGlyphkitView::OnDraw(HDC hdc) {
    DrawPreview(GetItem(IDC_PREVIEW), hdc, m_doc);
}

void CGlyphkitView::OnInitialUpdate() {
    // The bound registration ID goes into its field.
    UpdateData(false);
    m_host.FitFrameToForm();

    // A new document fills the list again: empty it first so that no face
    // is listed twice.
    HWND combo = GetItem(IDC_FONT_COMBO);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    const CFontFamilyList& fonts = m_host.Fonts();
    LOGFONTA family{};
    for (int i = 0; fonts.GetAt(i, &family); ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(family.lfFaceName));

    m_host.SelectPrinterModel();
    RefreshForm(false);
    // One-byte code mode on, with its fields usable also after a new
    // document that found it off.
    SetChecked(GetItem(IDC_RANGE_ON), true);
    OnRangeSwitch();
    SendMessageW(GetItem(IDC_REG_ID), EM_LIMITTEXT, 2, 0);
    SendMessageW(GetItem(IDC_REG_NAME), EM_LIMITTEXT, 32, 0);
    ShowPrinter();
}

void CGlyphkitView::RefreshForm(bool withName) {
    HWND combo = GetItem(IDC_FONT_COMBO);
    // A loaded face that is not installed is shown as it is.
    if (!m_standInFace.Select(combo, m_doc.GetFaceName()) &&
        SendMessageA(combo, CB_SELECTSTRING, 0, LPARAM(m_doc.GetFaceName().c_str())) == CB_ERR) {
        // From the second item on, wrapping round to the first; the first
        // item when none begins with the name. The settings keep the name.
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
    LOGFONTA family{};
    if (m_host.Fonts().Lookup(m_doc.GetFaceName().c_str(), &family))
        m_doc.SetLogFont(family);
    if (withName)
        SetWindowTextTo(GetItem(IDC_REG_NAME), FromCodePage(m_doc.GetRegName()));
    SetSpin(GetItem(IDC_POINT_SIZE_SPIN), 1, 72, m_doc.GetPointSize() & 0xFFFF);
    SetSpin(GetItem(IDC_CODE_START_SPIN), 32, 255, m_doc.GetRangeStart());
    SetSpin(GetItem(IDC_CODE_END_SPIN), 32, 255, m_doc.GetRangeEnd());
    SetChecked(GetItem(IDC_BOLD), m_doc.GetBold() != 0);
    SetChecked(GetItem(IDC_ITALIC), m_doc.GetItalic() != 0);
    SetChecked(GetItem(IDC_UNICODE_FILE), m_doc.GetUnicodeFile() != 0);
}

void CGlyphkitView::EnableRegistrationText(bool enable) {
    EnableWindow(GetItem(IDC_REG_TEXT), enable);
    EnableWindow(GetItem(IDC_TEXT_FILE), enable);
    EnableWindow(GetItem(IDC_UNICODE_FILE), enable);
    if (!enable)
        ClearRegistrationText(GetItem(IDC_REG_TEXT));
}

void CGlyphkitView::ApplyFontSelection() {
    const std::string face = WindowTextAnsi(GetItem(IDC_FONT_COMBO));
    m_standInFace.Chosen(GetItem(IDC_FONT_COMBO), face);
    m_doc.SetFaceName(face);
    m_doc.SetVertical(!face.empty() && face[0] == '@' ? 1 : 0);
    LOGFONTA family{};
    if (m_host.Fonts().Lookup(face.c_str(), &family)) {
        m_doc.SetLogFont(family);
        EnableRegistrationText(TakesRegistrationText(family.lfCharSet));
    }
    Redraw();
}

void CGlyphkitView::OnBold() {
    m_doc.SetBold(IsChecked(GetItem(IDC_BOLD)) ? 1 : 0);
    Redraw();
}

void CGlyphkitView::OnItalic() {
    m_doc.SetItalic(IsChecked(GetItem(IDC_ITALIC)) ? 1 : 0);
    Redraw();
}

void CGlyphkitView::OnRangeSwitch() {
    const bool on = IsChecked(GetItem(IDC_RANGE_ON));
    EnableWindow(GetItem(IDC_CODE_START), on);
    EnableWindow(GetItem(IDC_CODE_END), on);
}

void CGlyphkitView::OnUnicodeFile() {
    m_doc.SetUnicodeFile(IsChecked(GetItem(IDC_UNICODE_FILE)) ? 1 : 0);
}

void CGlyphkitView::OnTextFile() {
    const std::optional<std::wstring> path = ChooseFileToOpen(m_hWnd, L"txt", kTextFilter);
    if (!path)
        return;
    const bool unicode = m_doc.GetUnicodeFile() != 0;
    const TextFileResult read = ReadRegistrationTextFile(*path, unicode);
    if (!read.opened) {
        m_operator.ShowWideFileMessage(IDS_TEXT_FILE_READ_FAILED, *path, read.systemError);
        return;
    }
    if (read.messageId != 0) {
        m_operator.ShowMessage(read.messageId);
        return;
    }
    // A file the Unicode box may read wrongly is read only when the operator
    // says so; the box keeps its text otherwise.
    if (read.doubtQuestionId != 0 && !m_operator.AskYesNo(read.doubtQuestionId))
        return;
    SetRegistrationText(GetItem(IDC_REG_TEXT), read.text);
    if (read.charactersBeforeZero != 0)
        m_operator.ShowMessageAbout(IDS_TEXT_FILE_CUT_AT_ZERO,
                                    std::to_string(read.charactersBeforeZero));
}

void CGlyphkitView::OnLoad() {
    const std::optional<std::wstring> path = ChooseFileToOpen(m_hWnd, L"kfd", kFontDataFilter);
    if (!path)
        return;
    const LoadResult load = m_operations.LoadFontDataFile(*path);
    if (!load.loaded)
        return;
    m_standInFace.Loaded(GetItem(IDC_FONT_COMBO), m_doc.GetFaceName(), load.faceInstalled);
    switch (load.textAction) {
    case TextAfterLoad::Fill:
        EnableRegistrationText(true);
        SetRegistrationText(GetItem(IDC_REG_TEXT), load.fileText);
        break;
    case TextAfterLoad::Clear:
        EnableRegistrationText(false);
        break;
    case TextAfterLoad::Unchanged:
        break;
    }
    RefreshForm(true);
    Redraw();
}

void CGlyphkitView::OnSave() {
    if (!TakeShownFields())
        return;
    const WideSavePathChooser choose = [this](const std::string& initialName) {
        return ChooseFileToSave(m_hWnd, L"kfd", kFontDataFilter, FromCodePage(initialName));
    };
    m_operations.SaveFontDataFileAt(ReadFields(), Environment(), choose);
}

void CGlyphkitView::OnTextLimit() {
    m_operator.ShowMessage(IDS_TEXT_FILE_TOO_LARGE);
}

void CGlyphkitView::OnTextPasteRefused() {
    m_operator.ShowMessage(IDS_TEXT_PASTE_TOO_LARGE);
}

void CGlyphkitView::OnExit() {
    PostMessageW(GetAncestor(m_hWnd, GA_ROOT), WM_CLOSE, 0, 0);
}

RegistrationIdField CGlyphkitView::ReadRegistrationId() const {
    return {ParseRegistrationId(NumberFieldText(GetItem(IDC_REG_ID)))};
}

FormFields CGlyphkitView::ReadFields() const {
    FormFields fields;
    const std::wstring name = WindowText(GetItem(IDC_REG_NAME));
    const std::optional<std::string> exactName = ToCodePageExactly(name);
    fields.regName = exactName.value_or(ToCodePage(name));
    fields.regNameExact = exactName.has_value();
    fields.codeStart = ParseFieldNumber(NumberFieldText(GetItem(IDC_CODE_START)));
    fields.codeEnd = ParseFieldNumber(NumberFieldText(GetItem(IDC_CODE_END)));
    fields.rangeOn = IsChecked(GetItem(IDC_RANGE_ON));
    fields.text = ReadRegistrationText(GetItem(IDC_REG_TEXT));
    fields.selectedFace = WindowTextAnsi(GetItem(IDC_FONT_COMBO));
    return fields;
}

FormEnvironment CGlyphkitView::Environment() const {
    FormEnvironment environment;
    environment.reference = m_host.DisplayContext();
    environment.resolution = m_host.Resolution();
    environment.printer = m_host.Printer();
    return environment;
}

void CGlyphkitView::FieldRefused(FormField field) {
    HWND edit = GetItem(field == FormField::RegistrationId ? IDC_REG_ID : IDC_REG_NAME);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

// The printer commands run on a thread of their own, as a download does:
// the window goes on while the printer is asked.
void CGlyphkitView::RunPrinterCommand(int buttonId,
                                      const CFormOperations::PrinterCommand& command) {
    // The button clicked is where the focus comes back to when the window
    // is active again, also after the wait's own window was.
    RememberFocus();
    m_transfer.RunPrinterCommand(buttonId, command, m_host.Printer());
}

void CGlyphkitView::OnGetInfo() {
    RunPrinterCommand(IDC_GET_INFO, CFormOperations::QueryCommand());
}

void CGlyphkitView::OnClear() {
    const LRESULT selected = SendMessageW(GetItem(IDC_REGISTERED_LIST), LB_GETCURSEL, 0, 0);
    const std::optional<CFormOperations::PrinterCommand> command = m_operations.DeleteCommand(
        selected == LB_ERR ? std::nullopt : std::optional<size_t>(size_t(selected)));
    if (command)
        RunPrinterCommand(IDC_CLEAR, *command);
}

void CGlyphkitView::OnAllClear() {
    RunPrinterCommand(IDC_ALL_CLEAR, CFormOperations::ClearAllCommand());
}

void CGlyphkitView::OnDownload() {
    if (!TakeShownFields())
        return;
    // The build tells an ID field that names no ID after its other checks.
    m_transfer.Download(ReadFields(), ReadRegistrationId(), Environment());
}

void CGlyphkitView::OnShowDetail() {
    const LRESULT selected = SendMessageW(GetItem(IDC_REGISTERED_LIST), LB_GETCURSEL, 0, 0);
    const std::vector<CFontPT>& records = m_operations.Registered().m_records;
    if (selected == LB_ERR || size_t(selected) >= records.size())
        return;
    ShowRegisteredDetail(m_hWnd, records[size_t(selected)], m_host.DotsPerMm());
}

int CGlyphkitView::LineWidth(const std::string& line) {
    HWND list = GetItem(IDC_REGISTERED_LIST);
    const ScopedWindowDC dc(list);
    if (!dc)
        return 0;
    const ScopedSelectObject font(dc.Get(), HGDIOBJ(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc.Get(), line.c_str(), int(line.size()), &extent);
    return int(extent.cx);
}

void CGlyphkitView::ShowRegisteredData(const RegisteredData& data, int extent) {
    HWND list = GetItem(IDC_REGISTERED_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : data.m_lines)
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.c_str()));
    SendMessageW(list, LB_SETHORIZONTALEXTENT, WPARAM(extent), 0);
    SetWindowTextTo(GetItem(IDC_MEMORY_USAGE), MemoryUsageText(data));
}

void CGlyphkitView::ShowPrinter() {
    SetWindowTextTo(GetItem(IDC_PRINTER_ADDRESS),
                    FromCodePage(PrinterAddressText(m_host.Printer())));
}

void CGlyphkitView::ForgetRegisteredData() {
    m_operations.ForgetRegistered();
}
