#pragma once
// Every printer job of the window (情報取得, クリア, オールクリア, ダウンロード,
// the connection test) runs on a thread this task owns, while the window
// goes on painting and answering. When the printer has not answered within
// half a second a small window says so, with 中止: that cuts the connection
// and the job ends at once; a download shows its progress window instead
// once its characters go. What the job shows (its questions, messages, the
// listing and a download's progress) is done on the window's thread, with
// the small window away meanwhile.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "form/printer_wait_dlg.h"
#include "form/thread_side_operator.h"
#include "framework/window_thread_calls.h"
#include "operations/outcome_play.h"
#include "printer/download_exchange.h"
#include "printer/printer_stop.h"

class CWindowPrinterTask {
public:
    // Made on the window's thread. owner: the window the wait belongs to;
    // op shows the job's messages, handler takes its listing and progress,
    // when given, a download's characters, all on the window's thread.
    CWindowPrinterTask(HWND owner, Operator& op, OutcomeHandler& handler,
                       DownloadProgress* progress = nullptr);
    // A command still running is stopped; its thread's calls are answered
    // until it has ended.
    ~CWindowPrinterTask();
    CWindowPrinterTask(const CWindowPrinterTask&) = delete;
    CWindowPrinterTask& operator=(const CWindowPrinterTask&) = delete;

    // What the thread runs: the job, telling op, its listing to handler, a
    // download's characters to progress, ended early by stop. True when the
    // printer did it.
    using Work = std::function<bool(Operator& op, OutcomeHandler& handler,
                                    DownloadProgress& progress, PrinterStop& stop)>;
    // Starts work; ended is called on the window's thread once it returned
    // and its messages were answered. False when the thread could not be
    // started (nothing was run).
    bool Start(Work work, std::function<void(bool succeeded)> ended);
    // From Start until ended has been called.
    bool Running() const { return m_bRunning; }
    // The operator stopped it other than by the wait's window (the progress
    // window's 中止, Esc on the main window); on the window's thread.
    void Stop();

private:
    class ThreadSide;

    void Run(const Work& work, const std::function<void(bool)>& ended);

    CWindowThreadCalls m_calls;
    PrinterStop m_stop;
    CPrinterWaitDlg m_wait;
    std::unique_ptr<ThreadSide> m_pThreadSide;
    std::thread m_thread;
    std::atomic<bool> m_bThreadDone{false};
    bool m_bRunning = false;
};

// Runs work as above with owner held meanwhile, the window's messages taken
// here until it has ended: for a command of a modal window, which stays
// where it is until the answer is in.
void RunWhileHeld(HWND owner, Operator& op, OutcomeHandler& handler,
                  const CWindowPrinterTask::Work& work);
