#include "tools/gui_driver/gui_driver.h"

#include <cstring>
#include <vector>

#include "res/control_ids.h"

namespace gui {

namespace {

const DWORD kPollMs = 20;
const UINT kReplyMs = 5000;

struct Search {
    DWORD processId;
    const wchar_t* caption;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM user) {
    Search& search = *reinterpret_cast<Search*>(user);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search.processId || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t name[256] = {};
    if (search.className) {
        GetClassNameW(hwnd, name, 256);
        if (lstrcmpW(name, search.className) != 0)
            return TRUE;
    }
    if (search.caption && Text(hwnd) != search.caption)
        return TRUE;
    search.found = hwnd;
    return FALSE;
}

LPARAM Middle(HWND hwnd) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    return MAKELPARAM(rect.right / 2, rect.bottom / 2);
}

} // namespace

// Posted input only reaches the program after every message sent to it, so
// a round trip does not wait for it: wait until the program has taken all
// its input instead.
void WaitUntilIdle(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    WaitUntilIdle(process);
}

void WaitUntilIdle(DWORD process) {
    HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process);
    if (handle) {
        WaitForInputIdle(handle, kReplyMs);
        CloseHandle(handle);
    }
}

namespace {} // namespace

std::wstring ExecutableDir() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

std::wstring TempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

Program::Program() {
    std::wstring command = L"\"" + ExecutableDir() + L"Glyphkit.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &m_process))
        m_process = {};
}

Program::~Program() {
    if (!m_process.hProcess)
        return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

DWORD Program::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD status = STILL_ACTIVE;
    GetExitCodeProcess(m_process.hProcess, &status);
    return status;
}

HWND WaitForWindow(const Program& program, const wchar_t* caption, const wchar_t* className,
                   DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += kPollMs) {
        Search search{program.Id(), caption, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || waited >= timeoutMs)
            return search.found;
        Sleep(kPollMs);
    }
}

bool HasVisibleWindow(const Program& program, const wchar_t* className) {
    Search search{program.Id(), nullptr, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyMs, &result);
    return LRESULT(result);
}

bool Responds(HWND hwnd, UINT timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

std::wstring Text(HWND hwnd) {
    const LRESULT length = Send(hwnd, WM_GETTEXTLENGTH);
    std::vector<wchar_t> buffer(size_t(length) + 1, L'\0');
    Send(hwnd, WM_GETTEXT, buffer.size(), LPARAM(buffer.data()));
    return std::wstring(buffer.data());
}

void SetText(HWND hwnd, const std::wstring& text) {
    Send(hwnd, WM_SETTEXT, 0, LPARAM(text.c_str()));
}

void Click(HWND button) {
    Send(button, WM_LBUTTONDOWN, MK_LBUTTON, Middle(button));
    Send(button, WM_LBUTTONUP, 0, Middle(button));
}

void ClickLater(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, Middle(button));
    PostMessageW(button, WM_LBUTTONUP, 0, Middle(button));
}

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info.hwndFocus;
}

void Paste(HWND edit, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!data)
        return;
    std::memcpy(GlobalLock(data), text.c_str(), bytes);
    GlobalUnlock(data);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(data);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, data))
        GlobalFree(data);
    CloseClipboard();
    Send(edit, WM_PASTE);
}

void TypeAndLeave(HWND edit, const std::wstring& text) {
    Click(edit);
    SetText(edit, text);
    // Tab goes through the program's dialog keys, so it is posted.
    PostMessageW(edit, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(edit, WM_KEYUP, VK_TAB, 0xC00F0001);
    for (DWORD waited = 0; FocusOf(edit) == edit && waited < kReplyMs; waited += kPollMs)
        Sleep(kPollMs);
    WaitUntilIdle(edit);
}

bool SelectComboItem(HWND dialog, int comboId, const wchar_t* text) {
    HWND combo = GetDlgItem(dialog, comboId);
    if (Send(combo, CB_SELECTSTRING, WPARAM(-1), LPARAM(text)) == CB_ERR)
        return false;
    // A selection made by a message does not notify by itself.
    Send(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), LPARAM(combo));
    return true;
}

bool InThreadState(HWND hwnd, DWORD flag) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return (info.flags & flag) != 0;
}

bool WaitForThreadState(HWND hwnd, DWORD flag, bool wanted, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += kPollMs) {
        if (InThreadState(hwnd, flag) == wanted)
            return true;
        if (waited >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}

void ClickScreen(POINT point) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = LONG(point.x * 65535 / (width - 1));
        input.mi.dy = LONG(point.y * 65535 / (height - 1));
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
    HWND target = WindowFromPoint(point);
    if (target)
        WaitUntilIdle(target);
}

void HandlePosted(HWND edit) {
    Send(edit, EM_SETMODIFY, FALSE);
    PostMessageW(edit, EM_SETMODIFY, TRUE, 0);
    for (DWORD waited = 0; !Send(edit, EM_GETMODIFY) && waited < kReplyMs; waited += kPollMs)
        Sleep(kPollMs);
    Send(edit, EM_SETMODIFY, FALSE);
}

void Command(HWND frame, int id) {
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

HWND ChooseModel(const Program& program, int buttonId) {
    HWND dialog = WaitForWindow(program, L"QC150/QW300/QW400グリフキット", L"#32770");
    if (!dialog)
        return nullptr;
    Click(GetDlgItem(dialog, buttonId));
    Send(dialog, WM_NULL);
    Click(GetDlgItem(dialog, IDOK));
    // The caption of the chosen model: after Ctrl+N the main window shows
    // the previous model's until the choice has been taken.
    const wchar_t* caption = buttonId == IDC_MODEL_QW400   ? L"QW400グリフキット"
                             : buttonId == IDC_MODEL_QW300 ? L"QW300グリフキット"
                                                           : L"QC150グリフキット";
    return WaitForWindow(program, caption, L"GlyphkitFrame", 10000);
}

MessageBoxSeen WaitForMessageBox(const Program& program, const wchar_t* caption, DWORD timeoutMs) {
    MessageBoxSeen seen;
    seen.box = WaitForWindow(program, caption, L"#32770", timeoutMs);
    if (seen.box)
        seen.text = Text(GetDlgItem(seen.box, 0xFFFF));
    return seen;
}

void Answer(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    // Until the box is gone and the code after it has run.
    for (DWORD waited = 0; IsWindow(box) && waited < kReplyMs; waited += kPollMs)
        Sleep(kPollMs);
    HWND owner = GetWindow(box, GW_OWNER);
    if (owner)
        Send(owner, WM_NULL);
}

bool ChooseFile(const Program& program, const std::wstring& path) {
    for (DWORD waited = 0; waited < 10000; waited += kPollMs) {
        Search search{program.Id(), nullptr, L"#32770", nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // The file name box of the explorer-style dialog, or of the old one.
            HWND name = GetDlgItem(search.found, 0x47C);
            if (!name)
                name = GetDlgItem(search.found, 0x480);
            if (name) {
                SetText(name, path);
                PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                for (DWORD gone = 0; IsWindow(search.found) && gone < kReplyMs; gone += kPollMs)
                    Sleep(kPollMs);
                WaitUntilIdle(program.Id());
                return true;
            }
        }
        Sleep(kPollMs);
    }
    return false;
}

std::vector<COLORREF> Capture(HWND hwnd, RECT* area) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    *area = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    return CaptureScreen(*area);
}

std::vector<COLORREF> CaptureScreen(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    std::vector<COLORREF> pixels(size_t(width) * size_t(height));
    const uint32_t* raw = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace gui
