#include "framework/frame_wnd.h"

#include "framework/form_view.h"
#include "framework/idle_probe.h"
#include "framework/win_app.h"

namespace {

const wchar_t kFrameClass[] = L"GlyphkitFrame";

} // namespace

bool CFrameWnd::Create(int resourceId, const wchar_t* caption) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kFrameClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(resourceId));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resourceId),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kFrameClass;
        if (!RegisterClassExW(&wc))
            return false;
    }
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(resourceId));
    CreateWindowExW(0, kFrameClass, caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, this);
    return m_hWnd != nullptr;
}

LRESULT CALLBACK CFrameWnd::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    CFrameWnd* frame = nullptr;
    if (message == WM_NCCREATE) {
        frame = static_cast<CFrameWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        frame->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
    } else {
        frame = reinterpret_cast<CFrameWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!frame)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return frame->WindowProc(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
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
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND hwnd = m_hWnd;
        m_hWnd = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    }
}
