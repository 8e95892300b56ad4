#pragma once
// Work handed to the user-interface thread by a thread of its own. A hidden
// message-only window of the user-interface thread runs it, so the work is
// done whenever that thread takes messages: in the message loop, and also in
// the modal loops of a menu, a window move or a message box.
#include <windows.h>

#include <atomic>
#include <functional>

class CWindowThreadCalls {
public:
    // Made on the user-interface thread, whose work it runs.
    CWindowThreadCalls();
    ~CWindowThreadCalls();
    CWindowThreadCalls(const CWindowThreadCalls&) = delete;
    CWindowThreadCalls& operator=(const CWindowThreadCalls&) = delete;

    bool IsReady() const { return m_hWnd != nullptr; }
    // Runs work on the user-interface thread and returns when it has run;
    // false when it could not be handed over, and the work did not run.
    bool Call(const std::function<void()>& work) const;
    // Queues work for the user-interface thread without waiting for it;
    // false when it could not be queued. Work still queued when the object
    // goes is dropped.
    bool Post(std::function<void()> work) const;
    // On the user-interface thread: answers the calls of the other thread
    // (and nothing else) until done is set, so that a thread waiting for an
    // answer can end.
    static void AnswerUntil(const std::atomic<bool>& done);

private:
    struct Binding;

    HWND m_hWnd = nullptr;
};
