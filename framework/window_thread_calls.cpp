#include "framework/window_thread_calls.h"

#include <memory>

#include "framework/window.h"
#include "framework/window_proc.h"

namespace {

const wchar_t kClassName[] = L"GlyphkitThreadCalls";
const UINT kCallMessage = WM_APP + 1; // lParam: the caller's work
const UINT kPostMessage = WM_APP + 2; // lParam: work the window owns

} // namespace

// The window runs the work handed to it; work that throws counts as run.
struct CWindowThreadCalls::Binding : CreatedWindowBinding<CWindowThreadCalls> {
    // The handle is the other threads' way in: the object keeps it from
    // CreateWindowEx until it destroys the window itself.
    static void Attach(CWindowThreadCalls&, HWND) {}
    static LRESULT Handle(CWindowThreadCalls&, HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
        switch (message) {
        case kCallMessage:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 1;
        case kPostMessage: {
            const std::unique_ptr<std::function<void()>> work(
                reinterpret_cast<std::function<void()>*>(lParam));
            (*work)();
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }
    static LRESULT Threw(HWND, UINT message, WPARAM, LPARAM) {
        return message == kCallMessage ? 1 : 0;
    }
    static void Release(CWindowThreadCalls&) {}
};

CWindowThreadCalls::CWindowThreadCalls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ObjectWindowProc<Binding>;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClassOnce(wc))
        return;
    m_hWnd =
        CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

CWindowThreadCalls::~CWindowThreadCalls() {
    if (!m_hWnd)
        return;
    // Posted work that never ran is freed here; the messages die with the
    // window otherwise.
    MSG msg;
    while (PeekMessageW(&msg, m_hWnd, kPostMessage, kPostMessage, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    DestroyWindow(m_hWnd);
}

bool CWindowThreadCalls::Call(const std::function<void()>& work) const {
    if (!m_hWnd)
        return false;
    // The window answers 1 once it has run the work; a window that is gone
    // answers nothing.
    return SendMessageW(m_hWnd, kCallMessage, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

bool CWindowThreadCalls::Post(std::function<void()> work) const {
    if (!m_hWnd)
        return false;
    auto* owned = new std::function<void()>(std::move(work));
    if (PostMessageW(m_hWnd, kPostMessage, 0, reinterpret_cast<LPARAM>(owned)))
        return true;
    delete owned;
    return false;
}

void CWindowThreadCalls::AnswerUntil(const std::atomic<bool>& done) {
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
