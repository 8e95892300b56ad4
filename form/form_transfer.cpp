#include "form/form_transfer.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <optional>

#include "form/form_host.h"
#include "operations/printer_messages.h"
#include "operations/stopped_download.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

namespace {

// What a running download must not meet: another build, another use of the
// port, or the form going away.
const int kCommandsHeldDuringTransfer[] = {IDC_DOWNLOAD, IDC_SAVE,      IDC_LOAD, IDC_GET_INFO,
                                           IDC_CLEAR,    IDC_ALL_CLEAR, IDC_EXIT};

const UINT_PTR kSubclassId = 0x70D;
const UINT kRaiseProgress = WM_APP + 0x70D;

// The main window while a job runs. Activated by a click (on the title bar,
// a menu) it comes up on the screen; the system keeps the windows it owns
// (the wait's, the progress window) above it in the order it reports, but
// without a window manager the screen may stack them the other way. Each
// visible one is put on top again once the activation is done, so that the
// screen shows what the order says and the way out stays in reach.
BOOL CALLBACK RaiseOwned(HWND window, LPARAM frame) {
    if (GetWindow(window, GW_OWNER) != HWND(frame) || !IsWindowVisible(window))
        return TRUE;
    // Already first in the system's order, it is moved out of place and
    // back, which stacks it on the screen too.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    return TRUE;
}

LRESULT CALLBACK MainWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
    if ((message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) ||
        (message == WM_WINDOWPOSCHANGED &&
         !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER)) ||
        message == WM_EXITMENULOOP)
        PostMessageW(frame, kRaiseProgress, 0, 0);
    if (message == kRaiseProgress) {
        EnumThreadWindows(GetCurrentThreadId(), RaiseOwned, LPARAM(frame));
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(frame, MainWindowProc, id);
    return DefSubclassProc(frame, message, wParam, lParam);
}

} // namespace

// A printer command's listing, on the window's thread, into the form.
class CFormTransfer::ListingToForm : public OutcomeHandler {
public:
    explicit ListingToForm(CFormOperations& operations) : m_operations(operations) {}
    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_operations.TakeListing(update, extent);
    }
    void ClosePort() override {}

private:
    CFormOperations& m_operations;
};

CFormTransfer::CFormTransfer(const HWND& form, Operator& op, FormHost& host,
                             CFormOperations& operations)
    : m_hForm(form), m_operator(op), m_host(host), m_operations(operations),
      m_pListing(std::make_unique<ListingToForm>(operations)) {}

// A download still running here (the window is refused its close while one
// runs) ends before the progress window and the form's operations go.
CFormTransfer::~CFormTransfer() = default;

bool CFormTransfer::Holds(int id) const {
    return Running() &&
           std::find(std::begin(kCommandsHeldDuringTransfer), std::end(kCommandsHeldDuringTransfer),
                     id) != std::end(kCommandsHeldDuringTransfer);
}

void CFormTransfer::Download(const FormFields& fields, const RegistrationIdField& idField,
                             const FormEnvironment& environment) {
    if (Running())
        return;
    Begin(IDC_DOWNLOAD);
    // The build runs here, with its checks and messages; the port, the
    // frames and the printer's answers belong to the job's thread, so that
    // nothing the operator does with the window holds the line.
    std::shared_ptr<PreparedDownload> prepared =
        m_operations.PrepareDownload(fields, idField, environment);
    if (!prepared) {
        End();
        return;
    }
    // The build took the ID; what the list showed under it tells after a
    // stop whether the printer kept it.
    const int id = idField.id.value_or(0);
    std::optional<CFontPT> before;
    for (const CFontPT& record : m_operations.Registered().m_records)
        if (record.m_nId == id)
            before = record;
    const PrinterAddress printer = environment.printer;
    const auto work = [prepared, printer, id, before](Operator& op, OutcomeHandler& handler,
                                                      DownloadProgress& progress,
                                                      PrinterStop& stop) {
        DownloadPrinterSide asking(op, prepared->overwriteLine, prepared->area);
        ExchangeOutcome outcome;
        const SendResult sent = SendDownloadFile(prepared->file.Path(), prepared->record, printer,
                                                 asking, progress, handler, &outcome, &stop);
        if (sent != SendResult::Exchanged)
            return false;
        if (asking.Stopped()) {
            TellStoppedDownload(printer, id, before, op, handler);
            return false;
        }
        return outcome.succeeded;
    };
    if (!StartJob(work)) {
        m_operator.ShowMessage(IDS_DOWNLOAD_FAILED);
        End();
    }
}

void CFormTransfer::RunPrinterCommand(int buttonId, CFormOperations::PrinterCommand command,
                                      const PrinterAddress& printer) {
    if (Running())
        return;
    Begin(buttonId);
    const auto work = [printer, command](Operator& op, OutcomeHandler& handler, DownloadProgress&,
                                         PrinterStop& stop) {
        return CFormOperations::RunCommand(printer, command, op, handler, &stop);
    };
    if (!StartJob(work)) {
        m_operator.ShowMessage(IDS_CREATE_DIALOG_FAILED, MessageKind::Warning,
                               MessageCaption::Application);
        End();
    }
}

bool CFormTransfer::StartJob(CWindowPrinterTask::Work work) {
    // The job before, if any, has ended; its thread is joined here.
    m_pTask.reset();
    HWND root = GetAncestor(m_hForm, GA_ROOT);
    m_pTask = std::make_unique<CWindowPrinterTask>(root, m_operator, *m_pListing, this);
    // The task itself stays until the next job: its thread ends only after
    // this call.
    const auto ended = [this](bool) { JobEnded(); };
    if (!m_pTask->Start(std::move(work), ended)) {
        m_pTask.reset();
        return false;
    }
    SetWindowSubclass(root, MainWindowProc, kSubclassId, 0);
    return true;
}

void CFormTransfer::Stop() {
    if (m_pTask)
        m_pTask->Stop();
}

void CFormTransfer::JobEnded() {
    // The messages have been answered; the progress window goes with the
    // download.
    RemoveWindowSubclass(GetAncestor(m_hForm, GA_ROOT), MainWindowProc, kSubclassId);
    if (m_pProgress) {
        m_pProgress->DestroyModeless();
        m_pProgress.reset();
    }
    End();
}

void CFormTransfer::Begin(int buttonId) {
    m_nButtonId = buttonId;
    m_commandsBefore.clear();
    for (int id : kCommandsHeldDuringTransfer) {
        HWND control = Item(id);
        m_commandsBefore.emplace_back(id, IsWindowEnabled(control) != FALSE);
        EnableWindow(control, FALSE);
    }
    m_bRunning = true;
    m_host.TransferRunning(true);
}

void CFormTransfer::End() {
    for (const auto& [id, enabled] : m_commandsBefore)
        EnableWindow(Item(id), enabled);
    m_commandsBefore.clear();
    m_bRunning = false;
    m_host.TransferRunning(false);
    // The button that started it lost the focus when it was held; it takes
    // it back unless the operator has moved on to another control meanwhile
    // or a modal window is open.
    HWND root = GetAncestor(m_hForm, GA_ROOT);
    const HWND focus = GetFocus();
    if (IsWindowEnabled(root) && (!focus || focus == root || focus == m_hForm))
        SetFocus(Item(m_nButtonId));
}

void CFormTransfer::TransferStarting() {
    // Owned by the main window, so that it stays above it while the window
    // is used during the download.
    m_pProgress = std::make_unique<CProgressDlg>(GetAncestor(m_hForm, GA_ROOT), [this] { Stop(); });
    if (!m_pProgress->CreateModeless()) {
        m_pProgress.reset();
        m_operator.ShowMessage(IDS_CREATE_DIALOG_FAILED, MessageKind::Warning,
                               MessageCaption::Application);
        return;
    }
    ShowWindow(m_pProgress->GetSafeHwnd(), SW_SHOW);
}

void CFormTransfer::CharacterSent(uint32_t count, uint32_t index) {
    if (m_pProgress && m_pProgress->GetSafeHwnd())
        m_pProgress->SetProgress(count, index);
}
