// Runs the batch provisioning window of Glyphkit.exe through a script of
// steps given as arguments, as a person at it would, and prints what it shows
// on the way, one "what: value" line each; the window integration tests hold
// the lines, the printers' memories and the saved table to what they expect.
//
//   glyphkit-batch-script STEP...     (the first model, then 一括登録 opened)
//     printer TEXT      types TEXT as a printer and presses 追加
//     printers PATH     reads a printer list file
//     plan PATH         opens a plan file; prints "entry: ID|NAME|COUNT|SIZE|BYTES"
//     option ID         clicks the check box ID
//     run               presses 実行 and follows the run to its end: prints
//                       "held: ..." with the main window's printer commands
//                       while it runs, "seen: k/n" once a line showed a
//                       character count, "run-ms: N" from the press to the
//                       end, then "row: ..." per printer and "summary: TEXT"
//     run-stop          like run; once a line shows a character count it closes
//                       the main window (printing the box that refuses it),
//                       then presses 中止
//     run-close         like run; once a line shows a character count it
//                       presses Esc, prints the question and answers no,
//                       then closes this window, prints the question and
//                       answers yes, and prints "closed: yes" once it is gone
//     key ID KEY        gives the field ID the focus and presses KEY there:
//                       "enter", or a letter with Alt; prints "printers: N"
//     widen PIXELS      makes the window PIXELS wider; prints the message
//                       column's width before and after as "message-width: W"
//     form -            フォームの登録を追加 that must end before a save dialog
//     text ID TEXT      puts TEXT into the field ID
//     form-text ID TEXT puts TEXT into the main form's field ID
//     form-click ID     clicks the main form's check box ID
//     face NAME         selects the font NAME in the main form
//     form PATH         フォームの登録を追加, saving the form as PATH; prints
//                       the plan as "plan" does
//     result PATH       saves the table as PATH
//     shot PATH         writes the window as it stands on the screen (PPM)
// Each message box on the way is printed as "box: TEXT" and answered OK.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/batch_provision_ids.h"
#include "res/control_ids.h"
#include "tools/gui_driver/gui_driver.h"

namespace {

void Print(const std::wstring& what, const std::wstring& value) {
    std::wstring line = what + L": ";
    for (wchar_t c : value)
        if (c != L'\r')
            line += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    line += L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), &utf8[0], size, nullptr,
                        nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

std::wstring Row(HWND list, int row, int columns) {
    std::wstring text;
    for (int c = 0; c < columns; ++c)
        text += (c ? L"|" : L"") + gui::ListViewText(list, row, c);
    return text;
}

class Script {
public:
    Script(gui::Program& program, HWND frame, HWND form, HWND dialog)
        : m_program(program), m_frame(frame), m_form(form), m_dialog(dialog) {}

    bool Run(const std::vector<std::wstring>& args) {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::wstring& step = args[i];
            const std::wstring value = i + 1 < args.size() ? args[i + 1] : L"";
            bool done = true;
            if (step == L"run" || step == L"run-stop" || step == L"run-close")
                done = RunPlan(step.substr(3));
            else if (++i >= args.size())
                done = false;
            else if (step == L"printer") {
                gui::SetText(Item(IDC_BATCH_PRINTER), value);
                done = PressThenAnswer(IDC_BATCH_ADD_PRINTER, nullptr);
            } else if (step == L"printers")
                done = PressThenAnswer(IDC_BATCH_READ_PRINTERS, &value);
            else if (step == L"plan") {
                // Opened once the window names the plan's registrations.
                const std::wstring before = gui::Text(Item(IDC_BATCH_PLAN_TOTAL));
                done = PressThenAnswer(IDC_BATCH_OPEN_PLAN, &value);
                for (int waited = 0; done && !m_boxShown && waited < 60000 &&
                                     gui::Text(Item(IDC_BATCH_PLAN_TOTAL)) == before;
                     waited += 20)
                    Sleep(20);
                HWND list = Item(IDC_BATCH_PLAN);
                for (int k = 0; k < gui::ListViewRows(list); ++k)
                    Print(L"entry", Row(list, k, 5));
            } else if (step == L"form") {
                done = PressThenAnswer(IDC_BATCH_ADD_FORM, value == L"-" ? nullptr : &value);
                HWND list = Item(IDC_BATCH_PLAN);
                for (int k = 0; k < gui::ListViewRows(list); ++k)
                    Print(L"entry", Row(list, k, 5));
            } else if (step == L"form-text" && ++i < args.size())
                gui::SetText(GetDlgItem(m_form, std::stoi(value)), args[i]);
            else if (step == L"form-click")
                gui::Click(GetDlgItem(m_form, std::stoi(value)));
            else if (step == L"face")
                done = gui::SelectComboItem(m_form, IDC_FONT_COMBO, value.c_str());
            else if (step == L"text" && ++i < args.size())
                gui::SetText(Item(std::stoi(value)), args[i]);
            else if (step == L"option")
                gui::Click(Item(std::stoi(value)));
            else if (step == L"result")
                done = PressThenAnswer(IDC_BATCH_SAVE_RESULT, &value);
            else if (step == L"shot")
                done = Shot(value);
            else if (step == L"key" && ++i < args.size())
                done = PressKey(std::stoi(value), args[i]);
            else if (step == L"widen")
                done = Widen(std::stoi(value));
            else
                done = false;
            if (!done) {
                Print(L"failed", step);
                return false;
            }
        }
        return true;
    }

private:
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }

    // Presses the button, chooses path in the file dialog it opens (if
    // given), and prints and answers the message box that follows, if any.
    bool PressThenAnswer(int id, const std::wstring* path) {
        gui::ClickLater(Item(id));
        if (path && !gui::ChooseFile(m_program, *path))
            return false;
        const gui::MessageBoxSeen seen = gui::MessageBoxShown(m_program);
        m_boxShown = seen.box != nullptr;
        if (seen.box) {
            Print(L"box", seen.text);
            gui::Answer(seen.box, IDOK);
        }
        return gui::WaitUntilIdle(m_dialog);
    }

    // The run ends when the window offers 実行 again and 中止 no more.
    bool RunPlan(const std::wstring& then) {
        const ULONGLONG pressed = GetTickCount64();
        gui::ClickLater(Item(IDC_BATCH_START));
        gui::WaitUntilIdle(m_dialog);
        HWND list = Item(IDC_BATCH_PRINTERS);
        bool held = false, seen = false;
        for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < 4 * gui::kWaitMs;) {
            const gui::MessageBoxSeen box = gui::WaitForMessageBox(m_program, L"実行結果", 0);
            if (box.box) {
                Print(L"box", box.text);
                gui::Answer(box.box, IDOK);
                continue;
            }
            const bool running = IsWindowEnabled(Item(IDC_BATCH_STOP));
            if (running && !held) {
                held = true;
                // The main window's printer commands wait for the batch.
                const std::vector<bool> bar = gui::MenuBarItemsEnabled(m_frame, 5);
                std::wstring text;
                for (int id : {IDC_GET_INFO, IDC_CLEAR, IDC_ALL_CLEAR, IDC_DOWNLOAD})
                    text += IsWindowEnabled(GetDlgItem(m_form, id)) ? L"on " : L"off ";
                text += L"menu ";
                for (bool enabled : bar)
                    text += enabled ? L"1" : L"0";
                Print(L"held", text);
            }
            for (int k = 0; running && !seen && k < gui::ListViewRows(list); ++k) {
                const std::wstring count = gui::ListViewText(list, k, 3);
                if (!count.empty()) {
                    seen = true;
                    Print(L"seen", count);
                    if (then == L"-close")
                        return CloseWhileRunning();
                    if (then == L"-stop")
                        StopWhileRunning();
                }
            }
            if (!running && IsWindowEnabled(Item(IDC_BATCH_START)) && gui::WaitUntilIdle(m_dialog))
                break;
            Sleep(20);
        }
        Print(L"run-ms", std::to_wstring(GetTickCount64() - pressed));
        for (int k = 0; k < gui::ListViewRows(list); ++k)
            Print(L"row", Row(list, k, 5));
        Print(L"summary", gui::Text(Item(IDC_BATCH_SUMMARY)));
        return IsWindowEnabled(Item(IDC_BATCH_START)) != FALSE;
    }

    void StopWhileRunning() {
        PostMessageW(m_frame, WM_CLOSE, 0, 0);
        const gui::MessageBoxSeen box = gui::WaitForMessageBox(m_program);
        Print(L"box", box.text);
        if (box.box)
            gui::Answer(box.box, IDOK);
        gui::ClickLater(Item(IDC_BATCH_STOP));
    }

    // A key as the keyboard gives it, to the window with the focus.
    static void Key(WORD key) {
        INPUT inputs[2] = {};
        for (int k = 0; k < 2; ++k) {
            inputs[k].type = INPUT_KEYBOARD;
            inputs[k].ki.wVk = key;
            inputs[k].ki.dwFlags = k ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(2, inputs, sizeof(INPUT));
    }

    bool PressKey(int id, const std::wstring& key) {
        HWND field = Item(id);
        gui::Click(field);
        if (key == L"enter")
            PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        else // Alt with the letter, as the keyboard makes it
            PostMessageW(field, WM_SYSCHAR, WPARAM(key[0]), LPARAM(0x20000001));
        const gui::MessageBoxSeen seen = gui::MessageBoxShown(m_program);
        if (seen.box) {
            Print(L"box", seen.text);
            gui::Answer(seen.box, IDOK);
        }
        Print(L"printers", std::to_wstring(gui::ListViewRows(Item(IDC_BATCH_PRINTERS))));
        return gui::WaitUntilIdle(m_dialog);
    }

    bool Widen(int pixels) {
        const auto width = [this] {
            Print(L"message-width",
                  std::to_wstring(gui::Send(Item(IDC_BATCH_PRINTERS), LVM_GETCOLUMNWIDTH, 4)));
        };
        width();
        RECT area;
        GetWindowRect(m_dialog, &area);
        SetWindowPos(m_dialog, nullptr, 0, 0, area.right - area.left + pixels,
                     area.bottom - area.top, SWP_NOMOVE | SWP_NOZORDER);
        const bool idle = gui::WaitUntilIdle(m_dialog);
        width();
        return idle;
    }

    bool CloseWhileRunning() {
        // Esc asks as the close box does; no keeps the run going.
        SetForegroundWindow(m_dialog);
        Key(VK_ESCAPE);
        gui::MessageBoxSeen box = gui::WaitForMessageBox(m_program);
        Print(L"box", box.text);
        if (!box.box)
            return false;
        gui::Answer(box.box, IDNO);
        PostMessageW(m_dialog, WM_COMMAND, IDCANCEL, 0);
        box = gui::WaitForMessageBox(m_program);
        Print(L"box", box.text);
        if (!box.box)
            return false;
        gui::AnswerLater(box.box, IDYES);
        const bool gone = gui::WaitUntilGone(m_dialog);
        Print(L"closed", gone ? L"yes" : L"no");
        return gone;
    }

    bool Shot(const std::wstring& path) {
        RedrawWindow(m_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gui::WaitUntilIdle(m_dialog);
        RECT area;
        GetWindowRect(m_dialog, &area);
        return gui::SaveScreenImage(area, path);
    }

    gui::Program& m_program;
    HWND m_frame;
    HWND m_form;
    HWND m_dialog;
    bool m_boxShown = false; // the last press ended in a message box
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    gui::Program program;
    HWND frame = program.Started() ? gui::ChooseModel(program, IDC_MODEL_COMPACT) : nullptr;
    HWND form = frame ? FindWindowExW(frame, nullptr, L"#32770", nullptr) : nullptr;
    if (form)
        gui::Command(frame, ID_BATCH_PROVISION);
    HWND dialog = form ? gui::WaitForWindow(program, L"一括登録", L"#32770") : nullptr;
    if (!dialog || !gui::WaitUntilIdle(dialog)) {
        Print(L"failed", L"start");
        return 1;
    }
    // Moved down, as a person would drag it, so that the main window's menu
    // bar shows above it.
    RECT area;
    GetWindowRect(dialog, &area);
    SetWindowPos(dialog, nullptr, area.left,
                 GetSystemMetrics(SM_CYSCREEN) - (area.bottom - area.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Script script(program, frame, form, dialog);
    const bool done = script.Run(std::vector<std::wstring>(argv + 1, argv + argc));
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    gui::WaitUntilGone(dialog);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    Print(L"exit", std::to_wstring(program.WaitForExit()));
    return done ? 0 : 1;
}
