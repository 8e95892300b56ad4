#include "app/help_viewer.h"

#include <htmlhelp.h>

#include "app/chm_pages.h"
#include "app/help_pages.h"
#include "framework/code_page_text.h"

namespace {

// Wine's ntdll exports its version; Windows' does not.
bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void ShowInViewer(HWND owner, const std::string& helpFilePath, const std::string& page) {
    // The viewer is loaded when first asked for and stays for its windows. A
    // missing viewer or file is no concern of the program's: nothing happens.
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE viewer = LoadLibraryW(L"hhctrl.ocx");
    const auto htmlHelp = viewer ? reinterpret_cast<HtmlHelpFunction>(
                                       reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpA")))
                                 : nullptr;
    if (htmlHelp)
        htmlHelp(owner, HelpTopicOf(helpFilePath, page).c_str(), HH_DISPLAY_TOPIC, 0);
}

// The folder the pages are written to for the browser: "NAME-help" in the
// user's temporary folder, after the help file's name.
std::wstring BrowserPagesFolder(const std::wstring& helpFile) {
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH, temp))
        return std::wstring();
    std::wstring name = helpFile.substr(helpFile.find_last_of(L"\\/:") + 1);
    name = name.substr(0, name.rfind(L'.'));
    return std::wstring(temp) + name + L"-help";
}

// Wine's winebrowser hands a file of the prefix to the desktop's browser as
// a file URL of its place in the Unix file system. A console program: it
// gets no console window of its own.
void ShowInBrowser(const std::string& helpFilePath, const std::string& page) {
    const std::wstring helpFile = FromCodePage(helpFilePath);
    const std::wstring folder = BrowserPagesFolder(helpFile);
    // Written out once a run: the help file does not change while the
    // program runs, and F1 need not copy every page again.
    static std::wstring written;
    if (folder.empty())
        return;
    if (written != helpFile) {
        if (!ExtractChmPages(helpFile, folder))
            return;
        written = helpFile;
    }
    std::wstring command = L"winebrowser.exe \"" + folder + L"\\" +
                           FromCodePage(page.empty() ? kHelpContentsPage : page) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

} // namespace

void ShowHelp(HWND owner, const std::string& helpFilePath, const std::string& page) {
    if (RunningUnderWine())
        ShowInBrowser(helpFilePath, page);
    else
        ShowInViewer(owner, helpFilePath, page);
}
