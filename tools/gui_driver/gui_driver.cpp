#include "tools/gui_driver/gui_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/idle_probe.h"
#include "res/control_ids.h"

namespace gui {

namespace {

const DWORD kPollMs = 10;
const UINT kReplyMs = kWaitMs;
const wchar_t kFrameClass[] = L"GlyphkitFrame";

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
    // The caption as the system keeps it: GetWindowText sends nothing to a
    // window of another process, so a busy program does not hold the search.
    wchar_t caption[256] = {};
    if (search.caption && (GetWindowTextW(hwnd, caption, 256), lstrcmpW(caption, search.caption)))
        return TRUE;
    search.found = hwnd;
    return FALSE;
}

// A modal dialog of the program that is made but not shown yet: its loop
// shows it the first time the queue runs empty, and the probe's timer may
// come just before.
BOOL CALLBACK FindDialogToShow(HWND hwnd, LPARAM user) {
    auto& search = *reinterpret_cast<std::pair<DWORD, bool>*>(user);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    HWND ownerWindow = GetWindow(hwnd, GW_OWNER);
    if (owner == search.first && lstrcmpW(name, L"#32770") == 0 && !IsWindowVisible(hwnd) &&
        IsWindowEnabled(hwnd) && ownerWindow && !IsWindowEnabled(ownerWindow)) {
        search.second = true;
        return FALSE;
    }
    return TRUE;
}

bool DialogToShow(HWND anyWindow) {
    std::pair<DWORD, bool> search{0, false};
    GetWindowThreadProcessId(anyWindow, &search.first);
    EnumWindows(FindDialogToShow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Milliseconds since start.
ULONGLONG Since(ULONGLONG start) {
    return GetTickCount64() - start;
}

LPARAM Middle(HWND hwnd) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    return MAKELPARAM(rect.right / 2, rect.bottom / 2);
}

} // namespace

// WaitForInputIdle cannot tell: it waits only for the program's first idle
// moment after its start. The program answers a probe instead: a sent
// message, taken when the program next looks at its queue, before whatever
// was posted to it; the count of idle moments it answers goes up at the first
// one after all that (framework/idle_probe.h).
IdleWatch::IdleWatch(HWND hwnd) : m_main(GetAncestor(hwnd, GA_ROOTOWNER)) {}

bool IdleWatch::Reached() {
    if (!IsWindow(m_main))
        return true; // the program has ended, or is ending
    if (!m_synced) {
        static const UINT probe = RegisterWindowMessageW(kIdleProbeMessage);
        DWORD_PTR count = 0;
        if (!SendMessageTimeoutW(m_main, probe, 0, 0, SMTO_NORMAL, 100, &count))
            return false; // busy, for instance waiting for the printer
        m_count = count;
        m_synced = true;
    }
    if (reinterpret_cast<uintptr_t>(GetPropW(m_main, kIdleCountProperty)) == m_count)
        return false;
    if (DialogToShow(m_main)) {
        m_synced = false; // once more, after its loop has shown it
        return false;
    }
    return true;
}

bool WaitUntilIdle(HWND hwnd, DWORD timeoutMs) {
    IdleWatch watch(hwnd);
    for (const ULONGLONG start = GetTickCount64(); !watch.Reached(); Sleep(kPollMs))
        if (Since(start) > timeoutMs)
            return false;
    return true;
}

bool WaitUntilIdle(const Program& program, DWORD timeoutMs) {
    HWND frame = WaitForWindow(program, nullptr, kFrameClass, timeoutMs);
    return frame && WaitUntilIdle(frame, timeoutMs);
}

bool WaitUntilGone(HWND hwnd, DWORD timeoutMs) {
    for (const ULONGLONG start = GetTickCount64(); IsWindow(hwnd); Sleep(kPollMs))
        if (Since(start) > timeoutMs)
            return false;
    return true;
}

std::wstring Kanji(size_t n) {
    std::wstring text;
    for (wchar_t c = 0x4E00; text.size() < n && c < 0xA000; ++c) {
        char bytes[2];
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(932, 0, &c, 1, bytes, 2, nullptr, &usedDefault) > 0 && !usedDefault)
            text += c;
    }
    return text;
}

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
    for (const ULONGLONG start = GetTickCount64();; Sleep(kPollMs)) {
        Search search{program.Id(), caption, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || Since(start) >= timeoutMs)
            return search.found;
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

namespace {

void PutOnClipboard(const std::wstring& text) {
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
}

} // namespace

void Paste(HWND edit, const std::wstring& text) {
    PutOnClipboard(text);
    Send(edit, WM_PASTE);
}

void PasteLater(HWND edit, const std::wstring& text) {
    PutOnClipboard(text);
    PostMessageW(edit, WM_PASTE, 0, 0);
}

void TypeAndLeave(HWND edit, const std::wstring& text) {
    Click(edit);
    SetText(edit, text);
    // Tab goes through the program's dialog keys, so it is posted. The
    // field's check runs when the focus leaves it, and may show a message.
    PostMessageW(edit, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(edit, WM_KEYUP, VK_TAB, 0xC00F0001);
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
    HWND clicked = GetAncestor(WindowFromPoint(point), GA_ROOT);
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
    if (!clicked)
        return;
    // The click has reached the window once it is the active one; then until
    // the program has done all the activation asked of it.
    for (const ULONGLONG start = GetTickCount64();
         GetForegroundWindow() != clicked && Since(start) < kWaitMs; Sleep(kPollMs)) {
    }
    WaitUntilIdle(clicked);
}

bool PressKey(HWND window, WORD key) {
    // The key goes to the focus of the foreground thread: window must be the
    // foreground and active window, the focus in it, before and after idling.
    const auto ready = [window] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return GetForegroundWindow() == window && info.hwndActive == window &&
               (!info.hwndFocus || GetAncestor(info.hwndFocus, GA_ROOT) == window);
    };
    for (const ULONGLONG start = GetTickCount64(); !ready() && Since(start) < kWaitMs;
         Sleep(kPollMs)) {
    }
    if (!ready() || !WaitUntilIdle(window) || !ready())
        return false;
    INPUT keys[2] = {};
    for (INPUT& input : keys) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2;
}

void Command(HWND frame, int id) {
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::vector<bool> MenuBarItemsEnabled(HWND frame, size_t count) {
    // The menu of another process cannot be read under Wine: its state is
    // read off the screen. The bar lies right above the client area. Its
    // columns with ink form runs; the count - 1 widest gaps between them part
    // the items, whatever the scale. A greyed item has no pixel in the
    // menu's text colour.
    WaitUntilIdle(frame);
    POINT origin{0, 0};
    ClientToScreen(frame, &origin);
    RECT client;
    GetClientRect(frame, &client);
    const RECT bar{origin.x, origin.y - GetSystemMetrics(SM_CYMENU), origin.x + client.right,
                   origin.y - 1};
    const std::vector<COLORREF> pixels = CaptureScreen(bar);
    const int width = bar.right - bar.left, rows = bar.bottom - bar.top;
    const COLORREF ground = GetSysColor(COLOR_MENU), text = GetSysColor(COLOR_MENUTEXT);
    const auto darkness = [](COLORREF c) {
        return 765 - GetRValue(c) - GetGValue(c) - GetBValue(c);
    };
    struct Run {
        int start, end; // columns [start, end)
        bool written;
    };
    std::vector<Run> runs;
    for (int x = 0; x < width; ++x) {
        bool ink = false, written = false;
        for (int y = 0; y < rows; ++y) {
            const COLORREF p = pixels[size_t(y) * size_t(width) + size_t(x)];
            ink = ink || darkness(p) > darkness(ground) + 60;
            written = written || p == text;
        }
        if (!ink)
            continue;
        if (runs.empty() || runs.back().end < x)
            runs.push_back({x, x + 1, written});
        runs.back().end = x + 1;
        runs.back().written = runs.back().written || written;
    }
    if (count == 0 || runs.size() < count)
        return {};
    std::vector<size_t> parts; // run i starts an item
    for (size_t i = 1; i < runs.size(); ++i)
        parts.push_back(i);
    const auto gap = [&](size_t i) { return runs[i].start - runs[i - 1].end; };
    std::stable_sort(parts.begin(), parts.end(),
                     [&](size_t a, size_t b) { return gap(a) > gap(b); });
    parts.resize(count - 1);
    std::vector<bool> items(count, false);
    for (size_t i = 0, item = 0; i < runs.size(); ++i) {
        if (std::find(parts.begin(), parts.end(), i) != parts.end())
            ++item;
        items[item] = items[item] || runs[i].written;
    }
    return items;
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
    HWND frame = WaitForWindow(program, caption, kFrameClass);
    // The form is filled in for the model after the choice.
    return frame && WaitUntilIdle(frame) ? frame : nullptr;
}

MessageBoxSeen WaitForMessageBox(const Program& program, const wchar_t* caption, DWORD timeoutMs) {
    MessageBoxSeen seen;
    seen.box = WaitForWindow(program, caption, L"#32770", timeoutMs);
    if (seen.box)
        seen.text = Text(GetDlgItem(seen.box, 0xFFFF));
    return seen;
}

HWND WindowShown(const Program& program, const wchar_t* caption, const wchar_t* className) {
    WaitUntilIdle(program);
    return WaitForWindow(program, caption, className, 0);
}

MessageBoxSeen MessageBoxShown(const Program& program, const wchar_t* caption) {
    WaitUntilIdle(program);
    return WaitForMessageBox(program, caption, 0);
}

void AnswerLater(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    WaitUntilGone(box);
}

void Answer(HWND box, int button) {
    // The owner is known only while the box is there.
    HWND owner = GetWindow(box, GW_OWNER);
    AnswerLater(box, button);
    // Until the code after the box has run.
    if (owner)
        WaitUntilIdle(owner);
}

HWND ChooseFileLater(const Program& program, const std::wstring& path) {
    for (const ULONGLONG start = GetTickCount64(); Since(start) < kWaitMs; Sleep(kPollMs)) {
        Search search{program.Id(), nullptr, L"#32770", nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // The file name box of the explorer-style dialog, or of the old one.
            HWND name = GetDlgItem(search.found, 0x47C);
            if (!name)
                name = GetDlgItem(search.found, 0x480);
            if (name) {
                // The dialog fills its fields after it shows.
                WaitUntilIdle(search.found);
                SetText(name, path);
                PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return search.found;
            }
        }
    }
    return nullptr;
}

bool ChooseFile(const Program& program, const std::wstring& path) {
    HWND dialog = ChooseFileLater(program, path);
    return dialog && WaitUntilGone(dialog) && WaitUntilIdle(program);
}

std::vector<COLORREF> Capture(HWND hwnd, RECT* area) {
    WaitUntilIdle(hwnd);
    // The program's drawing has gone to the X server, but the server may
    // take a request of this process first: a picture is taken as the screen
    // shows it once two in a row agree.
    std::vector<COLORREF> last;
    for (int tries = 0; tries < 20; ++tries) {
        RECT client;
        GetClientRect(hwnd, &client);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        *area = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
        std::vector<COLORREF> pixels = CaptureScreen(*area);
        if (tries > 0 && pixels == last)
            break;
        last = std::move(pixels);
    }
    return last;
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

namespace gui {

bool SaveScreenImage(const RECT& area, const std::wstring& path) {
    const std::vector<COLORREF> pixels = CaptureScreen(area);
    if (pixels.empty())
        return false;
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%ld %ld\n255\n", area.right - area.left, area.bottom - area.top);
    for (COLORREF p : pixels) {
        const unsigned char rgb[3] = {GetRValue(p), GetGValue(p), GetBValue(p)};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

} // namespace gui
