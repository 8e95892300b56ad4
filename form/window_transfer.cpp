#include "form/window_transfer.h"

#include "form/thread_side_operator.h"
#include "operations/printer_messages.h"
#include "printer/rs232c.h"

// The download's side of the window: every step that shows something is
// handed to the window's thread and waited for, so that the exchange goes on
// only when the window has done it (the question answered, the listing
// shown). Progress alone is not waited for: the next frame must not wait for
// the bar. Only the newest position is shown, so the window's queue never
// fills, and the last character's is waited for, so that the full bar comes
// before the refreshed list and the final message.
class CWindowTransfer::ThreadSide : public CThreadSideOperator,
                                    public DownloadProgress,
                                    public OutcomeHandler {
public:
    ThreadSide(const CWindowThreadCalls& calls, Operator& op, TransferView& view)
        : CThreadSideOperator(calls, op), m_calls(calls), m_view(view) {}

    void TransferStarting() override {
        m_calls.Call([&] { m_view.TransferStarting(); });
    }
    void CharacterSent(uint32_t count, uint32_t index) override {
        m_latest = (uint64_t(count) << 32) | index;
        if (index + 1 >= count) {
            m_calls.Call([this] { ShowLatest(); });
            return;
        }
        if (!m_bProgressQueued.exchange(true) && !m_calls.Post([this] { ShowLatest(); }))
            m_bProgressQueued = false;
    }

    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_calls.Call([&] { m_view.TakeListing(update, extent); });
    }
    // The port is closed before this is heard of; the window has nothing to
    // do for it.
    void ClosePort() override {}

private:
    void ShowLatest() {
        m_bProgressQueued = false;
        const uint64_t latest = m_latest;
        m_view.CharacterSent(uint32_t(latest >> 32), uint32_t(latest));
    }

    const CWindowThreadCalls& m_calls;
    TransferView& m_view;
    std::atomic<uint64_t> m_latest{0}; // count << 32 | index
    std::atomic<bool> m_bProgressQueued{false};
};

CWindowTransfer::CWindowTransfer(Operator& op, TransferView& view)
    : m_operator(op), m_view(view), m_pThreadSide(std::make_unique<ThreadSide>(m_calls, op, view)) {
}

CWindowTransfer::~CWindowTransfer() {
    if (!m_thread.joinable())
        return;
    // The thread may be waiting for a call to be answered.
    CWindowThreadCalls::AnswerUntil(m_bThreadDone);
    m_thread.join();
}

bool CWindowTransfer::Start(std::unique_ptr<PreparedDownload> download,
                            const PrinterAddress& printer) {
    if (m_bRunning || m_thread.joinable() || !m_calls.IsReady())
        return false;
    m_pDownload = std::move(download);
    m_bRunning = true;
    try {
        m_thread = std::thread([this, printer] { Send(printer); });
    } catch (...) {
        m_bRunning = false;
        return false;
    }
    return true;
}

void CWindowTransfer::Send(const PrinterAddress& printer) {
    bool succeeded = false;
    try {
        // The printer and its lock are taken and given up on this thread.
        ExchangeOutcome outcome;
        ThreadSide& side = *m_pThreadSide;
        OperatorPrinterSide asking(side, m_pDownload->overwriteLine, m_pDownload->area);
        const SendResult sent = SendDownloadFile(m_pDownload->file.Path(), m_pDownload->record,
                                                 printer, asking, side, side, &outcome);
        succeeded = sent == SendResult::Exchanged && outcome.succeeded;
    } catch (...) {
        succeeded = false;
    }
    m_calls.Call([&] {
        m_bRunning = false;
        m_view.TransferEnded(succeeded);
    });
    m_bThreadDone = true;
}
