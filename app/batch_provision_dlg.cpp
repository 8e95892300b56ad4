#include "app/batch_provision_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "app/list_view.h"
#include "framework/code_page_text.h"
#include "framework/message_map.h"
#include "framework/message_text.h"
#include "operations/batch_report.h"
#include "operations/form_checks.h"
#include "printer/one_printer.h"
#include "printer/printer_connection.h"
#include "printer/tcp_link.h"
#include "res/batch_provision_ids.h"
#include "res/resource_ids.h"

namespace {

// The lines follow the printers a few times a second; the engine's threads
// never wait for the window.
const UINT_PTR kProgressTimer = 1;
const UINT kProgressEveryMs = 250;
// Sent by the run's thread when every printer has ended.
const UINT kRunEnded = WM_APP + 1;
constexpr size_t kDefaultJobs = 16;
// The printers' list: プリンタ, 状態, 段階, 文字, メッセージ.
constexpr int kMessageColumn = 4;
constexpr unsigned kMaxJobs = 256;

// How each control follows a change of the dialog's size, in halves of the
// change: 0 stays, 1 moves by half, 2 moves by all of it.
struct Anchor {
    int id;
    int left, top, right, bottom;
};
const Anchor kAnchors[] = {
    {IDC_BATCH_PLAN, 0, 0, 2, 0},        {IDC_BATCH_PLAN_TOTAL, 0, 0, 2, 0},
    {IDC_BATCH_PRINTERS, 0, 0, 2, 2},    {IDC_BATCH_SUMMARY, 0, 2, 2, 2},
    {IDC_BATCH_START, 0, 2, 0, 2},       {IDC_BATCH_STOP, 0, 2, 0, 2},
    {IDC_BATCH_SAVE_RESULT, 0, 2, 0, 2}, {IDCANCEL, 2, 2, 2, 2},
};

// What may not change while a plan runs.
const int kHeldDuringRun[] = {
    IDC_BATCH_ID,           IDC_BATCH_ADD_FILE,      IDC_BATCH_ADD_FORM,
    IDC_BATCH_REMOVE_ENTRY, IDC_BATCH_OPEN_PLAN,     IDC_BATCH_PRINTER,
    IDC_BATCH_ADD_PRINTER,  IDC_BATCH_READ_PRINTERS, IDC_BATCH_REMOVE_PRINTER,
    IDC_BATCH_JOBS,         IDC_BATCH_OVERWRITE,     IDC_BATCH_CLEAR,
    IDC_BATCH_CONVERGE,     IDC_BATCH_START,         IDC_BATCH_SAVE_RESULT,
};

} // namespace

CBatchProvisionDlg::CBatchProvisionDlg(HWND owner, BatchHost& host)
    : CDialog(IDD_BATCH_PROVISION, owner), m_host(host) {}

CBatchProvisionDlg::~CBatchProvisionDlg() {
    // A run still going stops first: its thread posts to this window.
    m_run.reset();
    DestroyModeless();
}

bool CBatchProvisionDlg::Open() {
    if (m_hWnd) {
        ShowWindow(m_hWnd, SW_RESTORE);
        SetForegroundWindow(m_hWnd);
        return true;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!CreateModeless())
        return false;
    ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

bool CBatchProvisionDlg::OnInitDialog() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_initialClient = {client.right, client.bottom};
    RECT window;
    GetWindowRect(m_hWnd, &window);
    m_minimumTrack = {window.right - window.left, window.bottom - window.top};
    m_placed.clear();
    for (const Anchor& anchor : kAnchors) {
        RECT rect;
        GetWindowRect(GetItem(anchor.id), &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        m_placed.push_back(rect);
    }
    ListViewSetColumns(GetItem(IDC_BATCH_PLAN), LoadText(IDS_BATCH_COLUMNS_PLAN),
                       {24, 80, 40, 34, 56, 210});
    ListViewSetColumns(GetItem(IDC_BATCH_PRINTERS), LoadText(IDS_BATCH_COLUMNS_PRINTERS),
                       {100, 44, 80, 50, 170});
    m_messageMinimum = ListView_GetColumnWidth(GetItem(IDC_BATCH_PRINTERS), kMessageColumn);
    // A line's message, whole, in a tip where its column cuts it.
    SendMessageW(GetItem(IDC_BATCH_PRINTERS), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP,
                 LVS_EX_INFOTIP);
    FitMessageColumn();
    if (WindowText(GetItem(IDC_BATCH_JOBS)).empty())
        SetDlgItemInt(m_hWnd, IDC_BATCH_JOBS, UINT(kDefaultJobs), FALSE);
    if (WindowText(GetItem(IDC_BATCH_ID)).empty())
        SetDlgItemInt(m_hWnd, IDC_BATCH_ID, 1, FALSE);
    ShowPlan();
    ShowPrinters();
    return true;
}

bool CBatchProvisionDlg::OnCommand(int id, int code) {
    static const CommandEntry<CBatchProvisionDlg> kCommands[] = {
        {IDC_BATCH_ADD_FILE, BN_CLICKED, &CBatchProvisionDlg::OnAddFile},
        {IDC_BATCH_ADD_FORM, BN_CLICKED, &CBatchProvisionDlg::OnAddForm},
        {IDC_BATCH_REMOVE_ENTRY, BN_CLICKED, &CBatchProvisionDlg::OnRemoveEntry},
        {IDC_BATCH_OPEN_PLAN, BN_CLICKED, &CBatchProvisionDlg::OnOpenPlan},
        {IDC_BATCH_SAVE_PLAN, BN_CLICKED, &CBatchProvisionDlg::OnSavePlan},
        {IDC_BATCH_ADD_PRINTER, BN_CLICKED, &CBatchProvisionDlg::OnAddPrinter},
        {IDC_BATCH_READ_PRINTERS, BN_CLICKED, &CBatchProvisionDlg::OnReadPrinters},
        {IDC_BATCH_REMOVE_PRINTER, BN_CLICKED, &CBatchProvisionDlg::OnRemovePrinter},
        {IDC_BATCH_START, BN_CLICKED, &CBatchProvisionDlg::OnStart},
        {IDC_BATCH_STOP, BN_CLICKED, &CBatchProvisionDlg::OnStop},
        {IDC_BATCH_SAVE_RESULT, BN_CLICKED, &CBatchProvisionDlg::OnSaveResult},
    };
    // A held command that reaches the window anyway (sent, not clicked)
    // is dropped during a run.
    if (m_bRunning)
        for (int held : kHeldDuringRun)
            if (id == held && code == BN_CLICKED)
                return true;
    return DispatchCommand(*this, kCommands, id, code);
}

bool CBatchProvisionDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kProgressTimer)
            return false;
        ShowProgress();
        *result = 0;
        return true;
    case kRunEnded:
        RunEnded();
        *result = 0;
        return true;
    case WM_SIZE:
        LayOut();
        *result = 0;
        return true;
    case WM_GETMINMAXINFO:
        if (m_minimumTrack.cx <= 0)
            return false;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {m_minimumTrack.cx,
                                                                 m_minimumTrack.cy};
        *result = 0;
        return true;
    case WM_DESTROY:
        KillTimer(m_hWnd, kProgressTimer);
        return false;
    default:
        return false;
    }
}

bool CBatchProvisionDlg::OnNotify(NMHDR* header, LRESULT* result) {
    if (header->idFrom != IDC_BATCH_PRINTERS || header->code != LVN_GETINFOTIPW)
        return false;
    // The tip is the line's message (its last column).
    NMLVGETINFOTIPW* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
    if (tip->pszText && tip->cchTextMax > 0) {
        LVITEMW item{};
        item.iSubItem = kMessageColumn;
        item.pszText = tip->pszText;
        item.cchTextMax = tip->cchTextMax;
        SendMessageW(header->hwndFrom, LVM_GETITEMTEXTW, WPARAM(tip->iItem), LPARAM(&item));
    }
    *result = 0;
    return true;
}

int CBatchProvisionDlg::Tell(const std::wstring& text, UINT flags) {
    return MessageBoxW(m_hWnd, text.c_str(), LoadText(IDS_RESULT_CAPTION).c_str(), flags);
}

void CBatchProvisionDlg::OnCancel() {
    if (m_bRunning) {
        if (Tell(LoadText(IDS_BATCH_ASK_STOP), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
        // The window goes once the printers have stopped: their lines stay
        // until then.
        m_bCloseWhenEnded = true;
        OnStop();
        return;
    }
    DestroyModeless();
}

void CBatchProvisionDlg::OnStart() {
    if (m_bRunning)
        return;
    if (m_host.DownloadRunning())
        return void(Tell(LoadText(IDS_BATCH_DOWNLOAD_RUNNING)));
    if (m_entries.empty())
        return void(Tell(LoadText(IDS_BATCH_NO_PLAN)));
    if (m_printers.empty())
        return void(Tell(LoadText(IDS_BATCH_NO_PRINTER)));
    const std::optional<uint32_t> jobs = ParseFieldNumber(NumberFieldText(GetItem(IDC_BATCH_JOBS)));
    if (!jobs || *jobs < 1 || *jobs > kMaxJobs) {
        SetFocus(GetItem(IDC_BATCH_JOBS));
        return void(Tell(LoadText(IDS_BATCH_BAD_JOBS)));
    }
    ProvisionOptions options;
    options.clear = IsChecked(GetItem(IDC_BATCH_CLEAR));
    options.converge = IsChecked(GetItem(IDC_BATCH_CONVERGE));
    options.overwrite = IsChecked(GetItem(IDC_BATCH_OVERWRITE));
    // One keeps what the other deletes, as the console refuses them together.
    if (options.clear && options.converge)
        return void(Tell(LoadText(IDS_BATCH_CLEAR_OR_CONVERGE)));
    std::vector<PrinterAddress> addresses;
    std::vector<std::string> names;
    for (const Printer& printer : m_printers) {
        addresses.push_back(printer.address);
        names.push_back(PrinterAddressText(printer.address));
    }
    // Two names of one printer would be provisioned by two threads at once.
    if (const auto shared = FirstSharedEndpoint(addresses, PrinterEndpoints))
        return void(Tell(LoadTextWith(IDS_BATCH_SAME_PRINTER, {m_printers[shared->first].given,
                                                               m_printers[shared->second].given})));
    std::vector<PlannedRegistration> plan;
    for (const Entry& entry : m_entries)
        plan.push_back(entry.registration);

    m_views.clear();
    m_results.clear();
    ShowRunning(true);
    // 実行 is held now: the focus goes to 中止, so that Esc asks as the
    // close box does.
    SetFocus(GetItem(IDC_BATCH_STOP));
    HWND window = m_hWnd;
    m_run = std::make_unique<BatchRun>(
        std::move(plan), names, [addresses](size_t index) { return OpenPrinter(addresses[index]); },
        options, size_t(*jobs), [window] { PostMessageW(window, kRunEnded, 0, 0); });
    SetTimer(m_hWnd, kProgressTimer, kProgressEveryMs, nullptr);
    ShowProgress();
}

void CBatchProvisionDlg::OnStop() {
    if (m_run)
        m_run->Cancel();
    EnableWindow(GetItem(IDC_BATCH_STOP), FALSE);
}

void CBatchProvisionDlg::ShowPrinters() {
    HWND list = GetItem(IDC_BATCH_PRINTERS);
    if (!m_results.empty() && m_run) {
        ShowProgress();
        return;
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const std::wstring ready = LoadText(IDS_BATCH_STATE_READY);
    for (size_t i = 0; i < m_printers.size(); ++i)
        ListViewSetRow(list, int(i), {m_printers[i].given, ready, L"", L"", L""});
    ListViewTruncate(list, int(m_printers.size()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
    EnableWindow(GetItem(IDC_BATCH_SAVE_RESULT), FALSE);
    SetWindowTextTo(GetItem(IDC_BATCH_SUMMARY), L"");
}

void CBatchProvisionDlg::ShowProgress() {
    if (!m_run)
        return;
    const std::vector<PortView> views = m_run->Snapshot();
    HWND list = GetItem(IDC_BATCH_PRINTERS);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < views.size(); ++i) {
        const PrinterLine line = DescribePrinter(
            views[i], m_results.size() > i ? &m_results[i] : nullptr, m_run->Plan());
        ListViewSetRow(list, int(i),
                       {m_printers[i].given, line.state, line.step, line.characters, line.message});
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
}

void CBatchProvisionDlg::RunEnded() {
    if (!m_run || !m_run->Ended())
        return;
    KillTimer(m_hWnd, kProgressTimer);
    m_views = m_run->Snapshot();
    m_results = m_run->Results();
    ShowProgress();
    size_t done = 0, failed = 0, cancelled = 0;
    for (const PortResult& result : m_results)
        (result.outcome == PortOutcome::Ok       ? done
         : result.outcome == PortOutcome::Failed ? failed
                                                 : cancelled)++;
    SetWindowTextTo(GetItem(IDC_BATCH_SUMMARY),
                    cancelled ? LoadTextWith(IDS_BATCH_SUMMARY_CANCELLED,
                                             {std::to_wstring(done), std::to_wstring(failed),
                                              std::to_wstring(cancelled)})
                              : LoadTextWith(IDS_BATCH_SUMMARY,
                                             {std::to_wstring(done), std::to_wstring(failed)}));
    ShowRunning(false);
    if (m_bCloseWhenEnded) {
        m_bCloseWhenEnded = false;
        DestroyModeless();
    }
}

void CBatchProvisionDlg::ShowRunning(bool running) {
    m_bRunning = running;
    for (int id : kHeldDuringRun)
        EnableWindow(GetItem(id), !running);
    EnableWindow(GetItem(IDC_BATCH_STOP), running);
    EnableWindow(GetItem(IDC_BATCH_SAVE_RESULT), !running && !m_results.empty());
    if (running)
        SetWindowTextTo(GetItem(IDC_BATCH_SUMMARY), L"");
    m_host.BatchRunning(running);
}

void CBatchProvisionDlg::LayOut() {
    if (m_placed.size() != std::size(kAnchors))
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int dx = client.right - m_initialClient.cx, dy = client.bottom - m_initialClient.cy;
    for (size_t i = 0; i < m_placed.size(); ++i) {
        const Anchor& a = kAnchors[i];
        const RECT& r = m_placed[i];
        const int left = r.left + dx * a.left / 2, top = r.top + dy * a.top / 2;
        const int right = r.right + dx * a.right / 2, bottom = r.bottom + dy * a.bottom / 2;
        MoveWindow(GetItem(a.id), left, top, right - left, bottom - top, FALSE);
    }
    FitMessageColumn();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CBatchProvisionDlg::FitMessageColumn() {
    HWND list = GetItem(IDC_BATCH_PRINTERS);
    RECT client;
    GetClientRect(list, &client);
    int others = 0;
    for (int column = 0; column < kMessageColumn; ++column)
        others += ListView_GetColumnWidth(list, column);
    // Never narrower than the template lays it out.
    const int width = std::max(int(client.right) - others, m_messageMinimum);
    ListView_SetColumnWidth(list, kMessageColumn, width);
}
