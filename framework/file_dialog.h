#pragma once
// The common open and save-as dialogs, taking the filter as one string of
// bar-separated pairs ("Text File(*.txt)|*.txt||").
#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

struct FileDialogOptions {
    bool open = true;
    const wchar_t* defaultExtension = nullptr; // without the dot
    std::wstring initialName;
    const wchar_t* filter = L"";
    DWORD flags = 0; // OFN_* besides OFN_EXPLORER
    // Called over the dialog, which stays open, when the path typed is too
    // long for the dialog to take (260 characters with the folder).
    std::function<void(HWND dialog)> pathTooLong;
};

// The chosen path, or nothing when the operator cancelled.
std::optional<std::wstring> ShowFileDialog(HWND owner, const FileDialogOptions& options);

// A path the file dialog cannot take, refused over it, which stays open.
void TellPathTooLong(HWND dialog);

// The open dialog of the program's files: "*.EXT" to start with, the file
// must exist, no read-only box, a path too long refused over the dialog.
std::optional<std::wstring> ChooseFileToOpen(HWND owner, const wchar_t* extension,
                                             const wchar_t* filter);

// The save-as dialog of the program's files: initialName to start with, a
// file there replaced only when the operator agrees, no read-only box, a
// path too long refused over the dialog.
std::optional<std::wstring> ChooseFileToSave(HWND owner, const wchar_t* extension,
                                             const wchar_t* filter,
                                             const std::wstring& initialName = {});

// The bar-separated filter as the dialog takes it: every bar becomes a zero,
// and the list ends with two zeros.
std::wstring FilterFromBars(const wchar_t* filter);
