#include "framework/frame_wnd.h"

#include "framework/form_view.h"
#include "framework/idle_probe.h"
#include "framework/win_app.h"
#include "framework/window_proc.h"

namespace {

const wchar_t kFrameClass[] = L"GlyphkitFrame";

} // namespace

// The frame comes with its window's creation and answers every later message.
struct CFrameWnd::Binding : CreatedWindowBinding<CFrameWnd> {
    static void Attach(CFrameWnd& frame, HWND hwnd) { frame.m_hWnd = hwnd; }
    static LRESULT Handle(CFrameWnd& frame, HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        return frame.WindowProc(message, wParam, lParam);
    }
    static LRESULT Threw(HWND, UINT, WPARAM, LPARAM) { return 0; }
    static void Release(CFrameWnd& frame) { frame.m_hWnd = nullptr; }
};

bool CFrameWnd::Create(int resourceId, const wchar_t* caption) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_nResourceId = resourceId;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ObjectWindowProc<Binding>;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(resourceId));
    // Shared, as LoadIconW's is: every Create asks for it again.
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    if (!RegisterWindowClassOnce(wc))
        return false;
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(resourceId));
    CreateWindowExW(0, kFrameClass, caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, this);
    return m_hWnd != nullptr;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT probed = 0;
    if (HandleIdleProbe(m_hWnd, message, wParam, &probed))
        return probed;
    switch (message) {
    case WM_SIZE:
        if (m_pView && m_pView->GetSafeHwnd())
            MoveWindow(m_pView->GetSafeHwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (m_pView && m_pView->GetSafeHwnd())
            m_pView->RestoreFocus();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && m_pView && m_pView->GetSafeHwnd())
            m_pView->RememberFocus();
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    case WM_COMMAND:
        if (lParam == 0) { // menu or accelerator
            // A command acts on the form as it shows; a field that refuses
            // what is typed keeps the command from running.
            if (m_pView && m_pView->GetSafeHwnd() && !m_pView->TakeFormAsShown())
                return 0;
            if (OnCommand(LOWORD(wParam)))
                return 0;
            if (CWinApp* app = CWinApp::Current())
                if (app->OnCommand(LOWORD(wParam)))
                    return 0;
        }
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    case WM_HELP:
        // F1 with the focus on the frame itself or in its menu.
        if (CWinApp* app = CWinApp::Current())
            if (app->OnHelp(m_nResourceId))
                return TRUE;
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    }
}
