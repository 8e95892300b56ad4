#include "form/form_transfer.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "form/form_host.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

namespace {

// What a running download must not meet: another build, another use of the
// port, or the form going away.
const int kCommandsHeldDuringTransfer[] = {IDC_DOWNLOAD, IDC_SAVE,      IDC_LOAD, IDC_GET_INFO,
                                           IDC_CLEAR,    IDC_ALL_CLEAR, IDC_EXIT};

const UINT_PTR kSubclassId = 0x70D;
const UINT kRaiseProgress = WM_APP + 0x70D;

// The main window during a download. Activated by a click it comes up on the
// screen; the system keeps the progress window it owns above it in the order
// it reports, but without a window manager the screen may stack them the
// other way. The progress window is put on top again once the activation is
// done, so that the screen shows what the order says.
LRESULT CALLBACK MainWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR progress) {
    if ((message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) ||
        (message == WM_WINDOWPOSCHANGED &&
         !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER)))
        PostMessageW(frame, kRaiseProgress, 0, 0);
    if (message == kRaiseProgress) {
        HWND window = HWND(progress);
        // Already first in the system's order, it is moved out of place
        // and back, which stacks it on the screen too.
        const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (IsWindow(window) && IsWindowVisible(window)) {
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
            SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        }
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
    // frames and the printer's answers belong to the transfer's thread, so
    // that nothing the operator does with the window holds the line.
    std::unique_ptr<PreparedDownload> prepared =
        m_operations.PrepareDownload(fields, idField, environment);
    if (!prepared) {
        End();
        return;
    }
    m_pTransfer = std::make_unique<CWindowTransfer>(m_operator, *this);
    if (!m_pTransfer->Start(std::move(prepared), environment.printer)) {
        m_pTransfer.reset();
        m_operator.ShowMessage(IDS_DOWNLOAD_FAILED);
        End();
    }
}

void CFormTransfer::RunPrinterCommand(int buttonId, CFormOperations::PrinterCommand command,
                                      const PrinterAddress& printer) {
    if (Running())
        return;
    Begin(buttonId);
    // The task before, if any, has ended; its thread is joined here.
    m_pCommand.reset();
    m_pCommand = std::make_unique<CWindowPrinterTask>(GetAncestor(m_hForm, GA_ROOT), m_operator,
                                                      *m_pListing);
    const auto work = [printer, command](Operator& op, OutcomeHandler& handler, PrinterStop& stop) {
        return CFormOperations::RunCommand(printer, command, op, handler, &stop);
    };
    // The task itself stays until the next command: its thread ends only
    // after this call.
    const auto ended = [this](bool) { End(); };
    if (!m_pCommand->Start(work, ended)) {
        m_pCommand.reset();
        m_operator.ShowMessage(IDS_CREATE_DIALOG_FAILED, MessageKind::Warning,
                               MessageCaption::Application);
        End();
    }
}

void CFormTransfer::TakeListing(const ListingUpdate& update, ExtentChange extent) {
    m_operations.TakeListing(update, extent);
}

void CFormTransfer::TransferEnded(bool /*succeeded*/) {
    // The messages have been answered; the progress window goes with the
    // download.
    if (m_pProgress) {
        RemoveWindowSubclass(GetAncestor(m_hForm, GA_ROOT), MainWindowProc, kSubclassId);
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
    m_pProgress = std::make_unique<CProgressDlg>(GetAncestor(m_hForm, GA_ROOT));
    if (!m_pProgress->CreateModeless()) {
        m_pProgress.reset();
        m_operator.ShowMessage(IDS_CREATE_DIALOG_FAILED, MessageKind::Warning,
                               MessageCaption::Application);
        return;
    }
    ShowWindow(m_pProgress->GetSafeHwnd(), SW_SHOW);
    SetWindowSubclass(GetAncestor(m_hForm, GA_ROOT), MainWindowProc, kSubclassId,
                      DWORD_PTR(m_pProgress->GetSafeHwnd()));
}

void CFormTransfer::CharacterSent(uint32_t count, uint32_t index) {
    if (m_pProgress && m_pProgress->GetSafeHwnd())
        m_pProgress->SetProgress(count, index);
}
