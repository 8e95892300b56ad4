#include "form/whole_paste_edit.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <optional>
#include <string>

#include "framework/balloon_tip.h"
#include "framework/code_page_text.h"
#include "framework/window_proc.h"

namespace {

// Where the edit finds its subclass at the first message that reaches it.
const wchar_t kSubclassProperty[] = L"GlyphkitWholePaste";

// The text of the clipboard, empty when it holds none; nothing when another
// program holds the clipboard.
std::optional<std::wstring> ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner))
        return std::nullopt;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = std::wstring(locked, wcsnlen(locked, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Whether the paste, as the edit would insert it in place of the selection,
// leaves a text within the limit: the edit's own in characters (bytes 0), or
// bytes of the code page.
bool PasteFits(HWND edit, size_t bytes) {
    const std::optional<std::wstring> clipboard = ClipboardText(edit);
    if (!clipboard)
        return false;
    std::wstring pasted = *clipboard;
    // A one-line edit takes the text up to its first line end.
    const size_t lineEnd = pasted.find(L'\n');
    if (!(GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) && lineEnd != std::wstring::npos) {
        pasted.resize(lineEnd);
        if (!pasted.empty() && pasted.back() == L'\r')
            pasted.pop_back();
    }
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    if (bytes == 0) {
        const size_t kept = size_t(GetWindowTextLengthW(edit)) - (end - start);
        return kept + pasted.size() <= size_t(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    }
    std::wstring text(size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(edit, &text[0], int(text.size()))));
    text.replace(std::min<size_t>(start, text.size()), end - start, pasted);
    return CodePageSize(text) <= bytes;
}

// The subclass of one edit: the procedure it had before, which does all but
// the paste, the limit in bytes of the code page (0: the edit's own), and
// the balloon that says it (none: the parent is told).
struct WholePaste {
    WNDPROC previous;
    size_t bytes;
    std::wstring tipTitle;
    std::wstring tipText;
    BalloonTip tip;
};

struct WholePasteBinding {
    using Object = WholePaste;
    using Result = LRESULT;
    static constexpr int kSlot = GWLP_USERDATA;
    static WholePaste* Created(HWND edit, UINT, LPARAM) {
        return static_cast<WholePaste*>(RemovePropW(edit, kSubclassProperty));
    }
    static void Attach(WholePaste&, HWND) {}
    static LRESULT Handle(WholePaste& subclass, HWND edit, UINT message, WPARAM wParam,
                          LPARAM lParam) {
        // Shift+Insert pastes without a WM_PASTE; it is taken as one.
        const bool shiftInsert = message == WM_KEYDOWN && wParam == VK_INSERT &&
                                 GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0;
        if (message == WM_KEYDOWN || message == WM_LBUTTONDOWN || message == WM_KILLFOCUS)
            subclass.tip.Hide();
        if (message == WM_PASTE || shiftInsert) {
            if (!PasteFits(edit, subclass.bytes)) {
                MessageBeep(MB_OK);
                if (!subclass.tipText.empty())
                    subclass.tip.Show(edit, subclass.tipTitle, subclass.tipText);
                else
                    SendMessageW(GetParent(edit), WM_COMMAND,
                                 MAKEWPARAM(GetDlgCtrlID(edit), kPasteRefused), LPARAM(edit));
                return 0;
            }
            if (shiftInsert)
                return SendMessageW(edit, WM_PASTE, 0, 0);
        }
        return CallWindowProcW(subclass.previous, edit, message, wParam, lParam);
    }
    // Only after the edit's last message.
    static LRESULT Unanswered(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(edit, message, wParam, lParam);
    }
    // A paste whose size could not be learnt (no memory) is refused.
    static LRESULT Threw(HWND, UINT, WPARAM, LPARAM) { return 0; }
    static void Release(WholePaste& subclass) { delete &subclass; }
};

void Subclass(HWND edit, size_t bytes, const std::wstring& tipTitle = L"",
              const std::wstring& tipText = L"") {
    // Without memory for it the edit stays as the system made it.
    WholePaste* subclass = new (std::nothrow)
        WholePaste{reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)),
                   bytes,
                   tipTitle,
                   tipText,
                   {}};
    if (!subclass || !SetPropW(edit, kSubclassProperty, subclass)) {
        delete subclass;
        return;
    }
    SetWindowLongPtrW(edit, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&ObjectWindowProc<WholePasteBinding>));
}

} // namespace

void RefuseCutPastes(HWND edit) {
    Subclass(edit, 0);
}

void RefuseCutPastesOverBytes(HWND edit, size_t bytes, const std::wstring& tipTitle,
                              const std::wstring& tipText) {
    Subclass(edit, bytes, tipTitle, tipText);
}
