#include "form/whole_paste_edit.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>

namespace {

const UINT_PTR kSubclassId = 1;

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
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    return size_t(size) <= bytes;
}

LRESULT CALLBACK WholePasteProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR bytes) {
    // Shift+Insert pastes without a WM_PASTE; it is taken as one.
    const bool shiftInsert = message == WM_KEYDOWN && wParam == VK_INSERT &&
                             GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0;
    if (message == WM_PASTE || shiftInsert) {
        if (!PasteFits(edit, size_t(bytes))) {
            MessageBeep(MB_OK);
            SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_MAXTEXT),
                         LPARAM(edit));
            return 0;
        }
        if (shiftInsert)
            return SendMessageW(edit, WM_PASTE, 0, 0);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, WholePasteProc, id);
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void RefuseCutPastes(HWND edit) {
    SetWindowSubclass(edit, WholePasteProc, kSubclassId, 0);
}

void RefuseCutPastesOverBytes(HWND edit, size_t bytes) {
    SetWindowSubclass(edit, WholePasteProc, kSubclassId, DWORD_PTR(bytes));
}
