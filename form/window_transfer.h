#pragma once
// A download that a thread of its own sends while the main window goes on:
// a menu held open, a window dragged or a message on the screen no longer
// holds the line. The thread owns the port from open to close and sends the
// same bytes in the same order as any download; whatever the download shows
// (progress, the overwrite question, messages, the refreshed listing) is
// done on the window's thread, in the order the exchange gives it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "framework/operator.h"
#include "framework/window_thread_calls.h"
#include "operations/download_file.h"
#include "operations/outcome_play.h"
#include "printer/download_exchange.h"

// What the window shows of a download; every call comes on its thread.
class TransferView : public DownloadProgress {
public:
    // The printer listed what it holds after the download.
    virtual void TakeListing(const ListingUpdate& update, ExtentChange extent) = 0;
    // The download is over and its messages have been answered; succeeded
    // when the printer took every character.
    virtual void TransferEnded(bool succeeded) = 0;
};

class CWindowTransfer {
public:
    // Made on the window's thread; op shows the download's messages there.
    CWindowTransfer(Operator& op, TransferView& view);
    // Waits for the thread, answering its calls meanwhile.
    ~CWindowTransfer();
    CWindowTransfer(const CWindowTransfer&) = delete;
    CWindowTransfer& operator=(const CWindowTransfer&) = delete;

    // Starts sending download to the printer; false when the
    // thread could not be started (nothing was sent, nothing shown).
    bool Start(std::unique_ptr<PreparedDownload> download, const PrinterAddress& printer);
    // From Start until TransferEnded has been called.
    bool Running() const { return m_bRunning; }

private:
    class ThreadSide;

    void Send(const PrinterAddress& printer);

    Operator& m_operator;
    TransferView& m_view;
    CWindowThreadCalls m_calls;
    std::unique_ptr<ThreadSide> m_pThreadSide;
    std::unique_ptr<PreparedDownload> m_pDownload;
    std::thread m_thread;
    std::atomic<bool> m_bThreadDone{false};
    bool m_bRunning = false;
};
