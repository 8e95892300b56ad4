#include "framework/file_dialog.h"

#include "framework/message_text.h"
#include "res/resource_ids.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace {

const UINT_PTR kSubclassId = 1;

// The length of the path the name box of the dialog stands for: the name
// itself when it is absolute, else with the dialog's folder before it.
size_t TypedPathLength(HWND dialog) {
    HWND name = GetDlgItem(dialog, 0x47C); // cmb13, the name box
    if (!name)
        name = GetDlgItem(dialog, 0x480); // edt1
    const size_t typed = size_t(GetWindowTextLengthW(name));
    std::wstring text(typed + 1, L'\0');
    GetWindowTextW(name, &text[0], int(text.size()));
    if ((typed > 1 && text[1] == L':') || (typed > 1 && text[0] == L'\\' && text[1] == L'\\'))
        return typed;
    const LRESULT folder = SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
    return (folder > 0 ? size_t(folder) : 0) + 1 + typed;
}

// The dialog's OK: a path it cannot take (the system's dialog has a buffer
// of 260 characters for it) is refused with the caller's message instead.
LRESULT CALLBACK OkProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                        DWORD_PTR data) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && TypedPathLength(dialog) >= MAX_PATH) {
        (*reinterpret_cast<const std::function<void(HWND)>*>(data))(dialog);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(dialog, OkProc, id);
    return DefSubclassProc(dialog, message, wParam, lParam);
}

// The explorer-style dialog's hook: a child of the dialog, which it watches.
UINT_PTR CALLBACK Hook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        SetWindowSubclass(GetParent(hook), OkProc, kSubclassId, DWORD_PTR(ofn->lCustData));
    }
    return 0;
}

} // namespace

std::wstring FilterFromBars(const wchar_t* filter) {
    std::wstring out = filter ? filter : L"";
    for (wchar_t& c : out)
        if (c == L'|')
            c = L'\0';
    out.append(2, L'\0');
    return out;
}

std::optional<std::wstring> ShowFileDialog(HWND owner, const FileDialogOptions& options) {
    std::vector<wchar_t> path(32768, L'\0');
    options.initialName.copy(path.data(), path.size() - 1);
    const std::wstring filter = FilterFromBars(options.filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = DWORD(path.size());
    ofn.lpstrDefExt = options.defaultExtension;
    ofn.Flags = options.flags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (options.pathTooLong) {
        ofn.Flags |= OFN_ENABLEHOOK;
        ofn.lpfnHook = Hook;
        ofn.lCustData = LPARAM(&options.pathTooLong);
    }
    const BOOL chosen = options.open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!chosen)
        return std::nullopt;
    return std::wstring(path.data());
}

void TellPathTooLong(HWND dialog) {
    MessageBoxW(dialog, LoadText(IDS_PATH_TOO_LONG).c_str(), LoadText(IDS_RESULT_CAPTION).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

std::optional<std::wstring> ChooseFileToOpen(HWND owner, const wchar_t* extension,
                                             const wchar_t* filter) {
    FileDialogOptions options;
    options.defaultExtension = extension;
    options.initialName = std::wstring(L"*.") + extension;
    options.filter = filter;
    options.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    options.pathTooLong = TellPathTooLong;
    return ShowFileDialog(owner, options);
}

std::optional<std::wstring> ChooseFileToSave(HWND owner, const wchar_t* extension,
                                             const wchar_t* filter,
                                             const std::wstring& initialName) {
    FileDialogOptions options;
    options.open = false;
    options.defaultExtension = extension;
    options.initialName = initialName;
    options.filter = filter;
    options.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    options.pathTooLong = TellPathTooLong;
    return ShowFileDialog(owner, options);
}
