#include "form/window_printer_task.h"

#include "framework/win_app.h"

// The job's side of the window: messages through the window's operator, the
// listing through its handler, each waited for. Progress alone is not waited
// for: the next frame must not wait for the bar. Only the newest position is
// shown, so the window's queue never fills, and the last character's is
// waited for, so that the full bar comes before the refreshed list and the
// final message.
class CWindowPrinterTask::ThreadSide : public CThreadSideOperator,
                                       public OutcomeHandler,
                                       public DownloadProgress {
public:
    ThreadSide(const CWindowThreadCalls& calls, Operator& op, OutcomeHandler& handler,
               DownloadProgress* progress, CPrinterWaitDlg& wait)
        : CThreadSideOperator(calls, op, [&wait](bool before) { wait.Hold(before); }),
          m_calls(calls), m_handler(handler), m_progress(progress), m_wait(wait) {}

    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_calls.Call([&] { m_handler.ApplyListing(update, extent); });
    }
    // The wait cursor is the window's, for the whole job.
    void ClosePort() override {}

    // The characters go: the progress window, with its own 中止, takes the
    // wait's place.
    void TransferStarting() override {
        m_calls.Call([&] {
            m_wait.Retire();
            if (m_progress)
                m_progress->TransferStarting();
        });
    }
    void CharacterSent(uint32_t count, uint32_t index) override {
        if (!m_progress)
            return;
        m_latest = (uint64_t(count) << 32) | index;
        if (index + 1 >= count) {
            m_calls.Call([this] { ShowLatest(); });
            return;
        }
        if (!m_bProgressQueued.exchange(true) && !m_calls.Post([this] { ShowLatest(); }))
            m_bProgressQueued = false;
    }

private:
    void ShowLatest() {
        m_bProgressQueued = false;
        const uint64_t latest = m_latest;
        m_progress->CharacterSent(uint32_t(latest >> 32), uint32_t(latest));
    }

    const CWindowThreadCalls& m_calls;
    OutcomeHandler& m_handler;
    DownloadProgress* m_progress;
    CPrinterWaitDlg& m_wait;
    std::atomic<uint64_t> m_latest{0}; // count << 32 | index
    std::atomic<bool> m_bProgressQueued{false};
};

CWindowPrinterTask::CWindowPrinterTask(HWND owner, Operator& op, OutcomeHandler& handler,
                                       DownloadProgress* progress)
    : m_wait(owner, [this] { m_stop.Stop(); }),
      m_pThreadSide(std::make_unique<ThreadSide>(m_calls, op, handler, progress, m_wait)) {}

CWindowPrinterTask::~CWindowPrinterTask() {
    if (m_thread.joinable()) {
        m_stop.Stop();
        // The thread may be waiting for a call to be answered.
        CWindowThreadCalls::AnswerUntil(m_bThreadDone);
        m_thread.join();
    }
    m_wait.DestroyModeless();
}

void CWindowPrinterTask::Stop() {
    if (m_bRunning)
        m_wait.StopFromElsewhere();
}

bool CWindowPrinterTask::Start(Work work, std::function<void(bool)> ended) {
    if (m_bRunning || m_thread.joinable() || !m_calls.IsReady() || !m_wait.Create())
        return false;
    m_bRunning = true;
    try {
        m_thread = std::thread(
            [this, work = std::move(work), ended = std::move(ended)] { Run(work, ended); });
    } catch (...) {
        m_bRunning = false;
        m_wait.DestroyModeless();
        return false;
    }
    return true;
}

void CWindowPrinterTask::Run(const Work& work, const std::function<void(bool)>& ended) {
    bool succeeded = false;
    try {
        succeeded = work(*m_pThreadSide, *m_pThreadSide, *m_pThreadSide, m_stop);
    } catch (...) {
        succeeded = false;
    }
    m_calls.Call([&] {
        m_wait.DestroyModeless();
        m_bRunning = false;
        if (ended)
            ended(succeeded);
    });
    m_bThreadDone = true;
}

void RunWhileHeld(HWND owner, Operator& op, OutcomeHandler& handler,
                  const CWindowPrinterTask::Work& work) {
    HWND focus = GetFocus();
    EnableWindow(owner, FALSE);
    {
        CWindowPrinterTask task(owner, op, handler);
        // The loop below may be waiting for a message when the work ends.
        const auto ended = [](bool) { PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); };
        if (task.Start(work, ended)) {
            CWinApp* app = CWinApp::Current();
            MSG msg;
            while (task.Running() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (app && app->PreTranslateMessage(msg))
                    continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            // A quit asked for meanwhile is the message loop's to see.
            if (task.Running())
                PostQuitMessage(int(msg.wParam));
        }
    }
    EnableWindow(owner, TRUE);
    if (focus && IsWindow(focus))
        SetFocus(focus);
}
