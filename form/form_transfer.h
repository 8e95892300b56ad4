#pragma once
// The form's side of what runs on the printer while the window goes on: a
// download (the build, then the job that sends it, with the progress window
// and its 中止) or a printer command (情報取得, クリア, オールクリア, with its
// wait), both jobs of the one window task, and the commands held away from
// the form while either runs.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "form/progress_dlg.h"
#include "form/window_printer_task.h"
#include "operations/form_operations.h"
#include "res/control_ids.h"

class FormHost;

class CFormTransfer : public DownloadProgress {
public:
    // form is the main form's window handle, read when a download starts.
    CFormTransfer(const HWND& form, Operator& op, FormHost& host, CFormOperations& operations);
    ~CFormTransfer() override;

    // A download is being built or sent, or a printer command runs: the one
    // answer to whether the form, the menu and the main window hold their
    // commands back.
    bool Running() const { return m_bRunning; }
    // What runs is a printer command, not a download.
    bool CommandRunning() const { return m_bRunning && m_nButtonId != IDC_DOWNLOAD; }
    // A command of the form that a running download holds away.
    bool Holds(int id) const;
    // Builds the download from the form as read and starts sending it;
    // nothing while one runs.
    void Download(const FormFields& fields, const RegistrationIdField& idField,
                  const FormEnvironment& environment);
    // Runs the command of the button buttonId on printer on a thread of its
    // own; nothing while something runs.
    void RunPrinterCommand(int buttonId, CFormOperations::PrinterCommand command,
                           const PrinterAddress& printer);

    // What runs is stopped, as 中止 of its wait or progress window does.
    void Stop();

    // The download's progress window, on the window's thread.
    void TransferStarting() override;
    void CharacterSent(uint32_t count, uint32_t index) override;

private:
    class ListingToForm;

    void Begin(int buttonId);
    // Runs work as the job of the button that began it; false when it
    // could not be started.
    bool StartJob(CWindowPrinterTask::Work work);
    // On the window's thread once the job and its messages are done.
    void JobEnded();
    void End();
    HWND Item(int id) const { return GetDlgItem(m_hForm, id); }

    const HWND& m_hForm;
    Operator& m_operator;
    FormHost& m_host;
    CFormOperations& m_operations;
    std::unique_ptr<CProgressDlg> m_pProgress;
    std::unique_ptr<ListingToForm> m_pListing;
    std::vector<std::pair<int, bool>> m_commandsBefore; // control, was enabled
    int m_nButtonId = 0;                                // the button that started it
    bool m_bRunning = false;
    // Last, so that what still runs ends before the rest goes.
    std::unique_ptr<CWindowPrinterTask> m_pTask;
};
