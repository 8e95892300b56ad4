#pragma once
// Drives Glyphkit.exe from outside, as a person would: starts it, finds its
// windows by caption and class, its controls by ID, reads and sets their
// texts and states, clicks, and reads and answers its message boxes. Every
// call into the program has a time-out, since a program in a modal loop does
// not answer a plain SendMessage. What the program shows is read once it is
// idle: it has handled all it was asked and waits for the user, in its main
// loop or a modal one, with its drawing on the screen.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// How long a wait for something the program must do lasts before it counts
// as failed: long, since only a failure waits that long.
const DWORD kWaitMs = 60000;

class Program {
public:
    Program();
    ~Program(); // ends the program if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    DWORD Id() const { return m_process.dwProcessId; }
    // Waits for the end; the exit status, or STILL_ACTIVE after the time-out.
    DWORD WaitForExit(DWORD timeoutMs = kWaitMs);

private:
    PROCESS_INFORMATION m_process{};
};

// A visible top-level window of the program with this caption (any when
// null) and class (any when null); null after the time-out.
HWND WaitForWindow(const Program& program, const wchar_t* caption, const wchar_t* className,
                   DWORD timeoutMs = kWaitMs);
// The window showing now, once the program is idle; null when there is none.
HWND WindowShown(const Program& program, const wchar_t* caption, const wchar_t* className);
// Until hwnd is destroyed; false after the time-out.
bool WaitUntilGone(HWND hwnd, DWORD timeoutMs = kWaitMs);
// Whether a window of the program with this class is visible now.
bool HasVisibleWindow(const Program& program, const wchar_t* className);

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Whether the thread of hwnd takes a message within timeoutMs: false while it
// is blocked, for instance in a long operation that takes no messages.
bool Responds(HWND hwnd, UINT timeoutMs);
std::wstring Text(HWND hwnd);
void SetText(HWND hwnd, const std::wstring& text);
// Clicks a button with the mouse: press and release in its middle, handled
// before this returns.
void Click(HWND button);
// The same for a button that opens a modal window: returns at once.
void ClickLater(HWND button);
// Follows what the program that owns hwnd was asked until now: Reached()
// once it has handled all of it, painted, and waits for the user again.
// Reached() never blocks for long, so a caller can watch other things
// meanwhile.
class IdleWatch {
public:
    explicit IdleWatch(HWND hwnd);
    bool Reached();

private:
    HWND m_main;
    bool m_synced = false;
    uintptr_t m_count = 0;
};
// The same, waited for; false after the time-out.
bool WaitUntilIdle(HWND hwnd, DWORD timeoutMs = kWaitMs);
bool WaitUntilIdle(const Program& program, DWORD timeoutMs = kWaitMs);
// The focus in the program's thread that owns hwnd.
HWND FocusOf(HWND hwnd);
// Puts text on the clipboard and pastes it into the edit, in place of its
// selection, as Ctrl+V does.
void Paste(HWND edit, const std::wstring& text);
// The same for a paste that may open a message box: returns at once.
void PasteLater(HWND edit, const std::wstring& text);
// A key pressed and released as the keyboard gives it, once window is the
// foreground window with the focus in it, and idle; false when it does not
// become so.
bool PressKey(HWND window, WORD key);
// Gives the control the focus with a click, then leaves it with Tab.
void TypeAndLeave(HWND edit, const std::wstring& text);
// Selects the item of a combo box of the dialog that begins with text and
// tells the dialog as the combo box would; false when there is none.
bool SelectComboItem(HWND dialog, int comboId, const wchar_t* text);
// Whether the thread of hwnd is in a state of GetGUIThreadInfo's flags
// (GUI_INMENUMODE, GUI_INMOVESIZE, ...); the wait returns when it is (or is
// not, as asked), or after the time-out.
bool InThreadState(HWND hwnd, DWORD flag);
bool WaitForThreadState(HWND hwnd, DWORD flag, bool wanted, DWORD timeoutMs = 10000);
// A click of the mouse at a point of the screen, as the hardware gives it:
// the window there is activated as by a person's click.
void ClickScreen(POINT point);
// A menu or accelerator command of the main window.
void Command(HWND frame, int id);
// Whether each of the count items of the main window's menu bar, left to
// right, is enabled, as the screen shows it once the program is idle; empty
// when the bar does not show so many.
std::vector<bool> MenuBarItemsEnabled(HWND frame, size_t count);

// The main window after the model choice, with the model chosen by its
// button ID; null when it did not come.
HWND ChooseModel(const Program& program, int buttonId);

// A message box of the program (caption 実行結果 unless given): its text.
struct MessageBoxSeen {
    HWND box = nullptr;
    std::wstring text;
};
MessageBoxSeen WaitForMessageBox(const Program& program, const wchar_t* caption = L"実行結果",
                                 DWORD timeoutMs = kWaitMs);
// The message box showing now, once the program is idle; none when there is
// none.
MessageBoxSeen MessageBoxShown(const Program& program, const wchar_t* caption = L"実行結果");
// Presses the button of the box; returns when the box is gone and the
// program is idle again.
void Answer(HWND box, int button);
// The same, returning once the box is gone.
void AnswerLater(HWND box, int button);

// Types path into an open or save-as dialog and confirms it; returns when
// the dialog has gone and the program is idle again.
bool ChooseFile(const Program& program, const std::wstring& path);
// The same, returning once the choice is confirmed, with the dialog (which
// may still ask, whether to replace a file for one), or null when none came.
HWND ChooseFileLater(const Program& program, const std::wstring& path);

// The rows of a list view of the program, and the text of one of its cells.
int ListViewRows(HWND list);
std::wstring ListViewText(HWND list, int row, int column);

// The colours of a window's client area as seen on the screen once the
// program is idle, rows top first; *area is the client area in screen
// coordinates.
std::vector<COLORREF> Capture(HWND hwnd, RECT* area);
// The colours of a rectangle of the screen.
std::vector<COLORREF> CaptureScreen(const RECT& area);
// The rectangle of the screen as it shows now, written to path as a PPM
// image; false when it could not be captured or written.
bool SaveScreenImage(const RECT& area, const std::wstring& path);

// n distinct kanji that code page 932 holds, from the CJK block up: a
// registration text of a given size.
std::wstring Kanji(size_t n);

std::wstring ExecutableDir();
std::wstring TempPath(const wchar_t* name);

} // namespace gui
