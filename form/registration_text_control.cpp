#include "form/registration_text_control.h"

#include <algorithm>
#include <vector>

#include "framework/code_page_text.h"
#include "framework/window.h"
#include "framework/window_proc.h"

namespace {

const wchar_t kClassName[] = L"KEDIT";

// The system edit's procedure, which does everything the control does not
// add: looked up once, never changed.
WNDPROC EditProc() {
    static const WNDPROC proc = [] {
        WNDCLASSEXW edit{};
        edit.cbSize = sizeof edit;
        return GetClassInfoExW(nullptr, L"EDIT", &edit) ? edit.lpfnWndProc : DefWindowProcW;
    }();
    return proc;
}

LRESULT CopyText(HWND hwnd, WPARAM wParam, wchar_t* buffer) {
    size_t capacity = LOWORD(wParam);
    if (capacity == 0)
        capacity = 0x10000;
    if (!buffer)
        return 0;
    const int length = int(CallWindowProcW(EditProc(), hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::vector<wchar_t> text(size_t(length) + 1, L'\0');
    CallWindowProcW(EditProc(), hwnd, WM_GETTEXT, text.size(), LPARAM(text.data()));
    const size_t copied = std::min(size_t(length), capacity - 1);
    std::copy(text.begin(), text.begin() + long(copied), buffer);
    buffer[copied] = L'\0';
    return LRESULT(copied);
}

LRESULT SetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (wParam != 0 || lParam == 0)
        return CallWindowProcW(EditProc(), hwnd, WM_SETTEXT, 0, lParam ? lParam : LPARAM(L""));
    const std::wstring text = FromCodePage(reinterpret_cast<const char*>(lParam));
    return CallWindowProcW(EditProc(), hwnd, WM_SETTEXT, 0, LPARAM(text.c_str()));
}

LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CallWindowProcW(EditProc(), hwnd, message, wParam, lParam);
        // No limit on what the operator types or pastes beyond the edit's own.
        CallWindowProcW(EditProc(), hwnd, EM_SETLIMITTEXT, 0, 0);
        return result;
    }
    case KEDIT_GETLENGTH:
        return CallWindowProcW(EditProc(), hwnd, WM_GETTEXTLENGTH, 0, 0);
    case KEDIT_GETTEXTW:
        return CopyText(hwnd, wParam, reinterpret_cast<wchar_t*>(lParam));
    case KEDIT_SETTEXT:
        return SetText(hwnd, wParam, lParam);
    default:
        return CallWindowProcW(EditProc(), hwnd, message, wParam, lParam);
    }
}

// The control keeps its text in the system edit and nothing of its own, so
// one answerer serves every window of the class; it comes with the window's
// creation like any object of the program's windows.
struct Kedit {};

struct KeditBinding {
    using Object = Kedit;
    using Result = LRESULT;
    static constexpr int kSlot = GWLP_USERDATA;
    static Kedit* Created(HWND, UINT message, LPARAM) {
        static Kedit answerer;
        return message == WM_NCCREATE ? &answerer : nullptr;
    }
    static void Attach(Kedit&, HWND) {}
    static LRESULT Handle(Kedit&, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return Dispatch(hwnd, message, wParam, lParam);
    }
    static LRESULT Unanswered(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcW(EditProc(), hwnd, message, wParam, lParam);
    }
    // A text that cannot be copied (no memory) reads as none.
    static LRESULT Threw(HWND, UINT, WPARAM, LPARAM) { return 0; }
    static void Release(Kedit&) {}
};

} // namespace

bool AkctlEntry() {
    // The system's edit class with the control's own procedure, name and
    // module.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(nullptr, L"EDIT", &wc))
        return false;
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = ObjectWindowProc<KeditBinding>;
    wc.lpszClassName = kClassName;
    wc.style &= ~UINT(CS_GLOBALCLASS);
    return RegisterWindowClassOnce(wc);
}

std::u16string ReadRegistrationText(HWND control) {
    const size_t length = size_t(SendMessageW(control, KEDIT_GETLENGTH, 1, 0));
    std::vector<wchar_t> buffer(length + 1, L'\0');
    if (length < 0x10000) {
        // The capacity travels in 16 bits; 65536 goes as 0.
        const WPARAM capacity = WPARAM((length + 1) & 0xFFFF);
        SendMessageW(control, KEDIT_GETTEXTW, MAKEWPARAM(capacity, 1), LPARAM(buffer.data()));
    } else {
        // Too long for any registration; the checks only count it.
        SendMessageW(control, WM_GETTEXT, buffer.size(), LPARAM(buffer.data()));
    }
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
}

void SetRegistrationText(HWND control, const std::u16string& text) {
    SendMessageW(control, KEDIT_SETTEXT, 1, LPARAM(text.c_str()));
}

void ClearRegistrationText(HWND control) {
    const LRESULT length = SendMessageW(control, KEDIT_GETLENGTH, 1, 0);
    if (length != 0) {
        SendMessageW(control, EM_SETSEL, 0, length);
        SendMessageW(control, WM_CLEAR, 0, 0);
    }
}
