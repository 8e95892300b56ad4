#pragma once
// Drives Glyphkit.exe from outside, as a person would: starts it, finds its
// windows by caption and class, its controls by ID, reads and sets their
// texts and states, clicks, and reads and answers its message boxes. Every
// call into the program has a time-out, since a program in a modal loop does
// not answer a plain SendMessage.
#include <windows.h>

#include <string>
#include <vector>

namespace gui {

class Program {
public:
    Program();
    ~Program(); // ends the program if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    DWORD Id() const { return m_process.dwProcessId; }
    // Waits for the end; the exit status, or STILL_ACTIVE after the time-out.
    DWORD WaitForExit(DWORD timeoutMs = 10000);

private:
    PROCESS_INFORMATION m_process{};
};

// A visible top-level window of the program with this caption (any when
// null) and class (any when null); null after the time-out.
HWND WaitForWindow(const Program& program, const wchar_t* caption, const wchar_t* className,
                   DWORD timeoutMs = 10000);
// Whether any window of the program with this class was ever visible now.
bool HasVisibleWindow(const Program& program, const wchar_t* className);

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Whether the thread of hwnd takes a message within timeoutMs: false while it
// is blocked, for instance waiting for the printer.
bool Responds(HWND hwnd, UINT timeoutMs = 100);
std::wstring Text(HWND hwnd);
void SetText(HWND hwnd, const std::wstring& text);
// Clicks a button with the mouse: press and release in its middle, handled
// before this returns.
void Click(HWND button);
// The same for a button that opens a modal window: returns at once.
void ClickLater(HWND button);
// Waits until the program that owns hwnd has handled all its input and
// painted.
void WaitUntilIdle(HWND hwnd);
void WaitUntilIdle(DWORD processId);
// The focus in the program's thread that owns hwnd.
HWND FocusOf(HWND hwnd);
// Puts text on the clipboard and pastes it into the edit, in place of its
// selection, as Ctrl+V does.
void Paste(HWND edit, const std::wstring& text);
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
// Returns once the thread of edit (an edit control) has handled every
// message posted to it before the call: a marker posted after them (the
// edit's modified flag) has come through. The flag is cleared again.
void HandlePosted(HWND edit);
// A menu or accelerator command of the main window.
void Command(HWND frame, int id);

// The main window after the model choice, with the model chosen by its
// button ID; null when it did not come.
HWND ChooseModel(const Program& program, int buttonId);

// A message box of the program (caption 実行結果 unless given): its text.
struct MessageBoxSeen {
    HWND box = nullptr;
    std::wstring text;
};
MessageBoxSeen WaitForMessageBox(const Program& program, const wchar_t* caption = L"実行結果",
                                 DWORD timeoutMs = 10000);
void Answer(HWND box, int button);

// Types path into an open or save-as dialog and confirms it; returns when
// the dialog has gone and the program is idle again.
bool ChooseFile(const Program& program, const std::wstring& path);

// The colours of a window's client area as seen on the screen, rows top
// first; *area is the client area in screen coordinates.
std::vector<COLORREF> Capture(HWND hwnd, RECT* area);
// The colours of a rectangle of the screen.
std::vector<COLORREF> CaptureScreen(const RECT& area);

std::wstring ExecutableDir();
std::wstring TempPath(const wchar_t* name);

} // namespace gui
