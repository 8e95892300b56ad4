#include "framework/file_dialog.h"

#include <commdlg.h>

#include <vector>

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
    const BOOL chosen = options.open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!chosen)
        return std::nullopt;
    return std::wstring(path.data());
}
