// Runs Glyphkit.exe through a script of steps given as arguments, as a person
// at the window would, and prints what the window shows on the way, one
// "what: value" line each. The printer integration tests run it against the
// virtual printer and hold its lines and the printer's memory to what they
// expect.
//
//   glyphkit-window-script [model N] STEP...
//     model N          (first) choose model button N (0 to 2) at start-up
//     port N           choose COMN in the COM port dialog
//     network HOST PORT
//                      choose the network printer HOST, port PORT
//     connection-test HOST PORT
//                      press 接続テスト of the network printer dialog with
//                      HOST and PORT typed, print "box: TEXT", then cancel
//     connection-test-stop HOST PORT
//                      the same, stopping the test with 中止 once its wait
//                      window shows
//     network-refused HOST PORT
//                      press OK of the network printer dialog with HOST and
//                      PORT typed, print "box: TEXT" (the refusal), then cancel
//     network-offered  prints "offered: HOST PORT" as the network printer
//                      dialog opens, then cancels it
//     printer          prints "printer: TEXT", the printer the column names
//     text ID TEXT     type TEXT into the control ID
//     type ID TEXT     type TEXT into the field ID and leave it (its check runs)
//     paste ID TEXT    select the whole field ID and paste TEXT into it
//     face NAME        select the font NAME
//     click ID         click the check box or button ID (one that opens nothing)
//     select K         select line K of the registered data list
//     press ID         click the button ID and wait for the printer's answer:
//                      prints "box: TEXT" and "progress: shown|none" for each
//                      message box, answered with OK or with the next step
//                      "yes"/"no" for a question; "at-box: MS" before each
//                      box and "at-answer: MS" after each answer give the
//                      milliseconds since the script started
//     press-stop ID HOW
//                      like press; once the wait for the printer shows its
//                      window it prints "wait: shown" and stops it (HOW:
//                      button clicks 中止, esc presses Esc, help presses F1
//                      there and prints "browser: LINE" as the step help
//                      does, then clicks 中止; main clicks the main window,
//                      prints "in-sight: yes|no" (the wait above it) and
//                      presses Esc on the main window)
//     press-trying ID  like press; while the download runs it prints
//                      "download-enabled: yes|no" and "check-enabled: yes|no"
//                      (the menu's registration check) and
//                      "network-enabled: yes|no", clicks Download and Clear,
//                      gives the check and network commands, Ctrl+N and closes
//                      the main window, and at the end prints "held: yes" when
//                      the window is still there, "check-window: shown|none"
//                      and "network-window: shown|none"
//     press-during KIND ID
//                      like press; as soon as the download's progress shows
//                      it holds the window in KIND (menu: the ヘルプ menu open;
//                      move: the title bar dragged; message: the size field's
//                      message up) until the bar is full or 60 s have passed,
//                      printing "hold: POS/RANGE" (the bar when the hold began)
//                      and "full-while-held: yes|no"; KIND click clicks the main
//                      window instead and prints "progress-above: yes|no" (as
//                      the system orders the windows) and "progress-seen:
//                      yes|no" (as the screen shows its label); KIND
//                      about or textfile opens that modal window and leaves it
//                      open until the download's message has come and gone:
//                      "box: TEXT", "message-over: modal|main", "main-enabled:
//                      yes|no" and "modal-open: yes|no", then "main-enabled"
//                      again once the modal window is cancelled; KIND help
//                      presses F1 on the progress window and prints "browser:
//                      LINE" as the step help does; KIND stop
//                      clicks the progress window's 中止 once two characters
//                      have gone, stop-esc presses Esc on the main window
//                      instead, each printing "stopped-at: POS/RANGE",
//                      "counter: TEXT" and "at-stop: MS"; yes/no after ID
//                      answer its questions as for press
//     browser SCRIPT LOG
//                      Wine's browser (in the prefix) from now on: SCRIPT (a
//                      Unix path), which appends what it is given to LOG
//     help WHERE       F1 in the window WHERE (main, model, comport, network,
//                      about, check, batch, detail: of list line 0), or the
//                      menu's ヘルプ (menu); prints "browser: LINE" once the
//                      browser has been given LINE, then closes the window
//     load PATH        loads the font data file PATH through the Load button
//     focus            prints "focus: ID" of the control that has the focus
//     list             prints "line: TEXT" per list line, "extent: N", "memory: TEXT"
//     detail K         double-clicks line K and prints the detail dialog:
//                      "dialog: CAPTION", then "item ID: TEXT" and "entry: TEXT"
//     check PATH       the menu's registration check: prints "check ID: TEXT" for
//                      its figures and each line of its lists (or "box: TEXT"
//                      when the form is refused), saves the sheet as PATH
//                      unless PATH is "-", and closes the window
//     check-answers LINE PATH
//                      the check's answers: prints "check ID: TEXT" for its
//                      bytes, fitting sizes and size button, types LINE into
//                      the line field, writes the drawn line as seen on the
//                      screen to PATH (a PBM file) and prints the characters
//                      named under it; then presses the size button and prints
//                      the size field and the check that opens again
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "res/batch_provision_ids.h"
#include "res/control_ids.h"
#include "res/registration_check_ids.h"
#include "tools/gui_driver/gui_driver.h"

namespace {

void Print(const wchar_t* what, const std::wstring& value) {
    // One line each: a line break within a message shows as \n.
    std::wstring line = std::wstring(what) + L": ";
    for (wchar_t c : value)
        if (c != L'\r')
            line += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    line += L"\n";
    // UTF-8, whatever the console's code page.
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), &utf8[0], size, nullptr,
                        nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

std::wstring ListLine(HWND list, int index) {
    const LRESULT length = gui::Send(list, LB_GETTEXTLEN, WPARAM(index));
    std::vector<wchar_t> text(size_t(length > 0 ? length : 0) + 1, L'\0');
    gui::Send(list, LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
    return text.data();
}

class Script {
public:
    Script(gui::Program& program, HWND frame, HWND form)
        : m_program(program), m_frame(frame), m_form(form) {}

    // Runs the steps from args[i]; false when one could not be done.
    bool Run(const std::vector<std::wstring>& args) {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::wstring& step = args[i];
            const auto next = [&]() { return i + 1 < args.size() ? args[++i] : std::wstring(); };
            bool done = true;
            if (step == L"port")
                done = ChoosePort(next());
            else if (step == L"network" || step == L"connection-test" ||
                     step == L"connection-test-stop" || step == L"network-refused") {
                const std::wstring host = next();
                done = ChooseNetworkPrinter(host, next(), step);
            } else if (step == L"network-offered")
                done = ShowNetworkOffered();
            else if (step == L"printer")
                Print(L"printer", gui::Text(Item(IDC_PRINTER_ADDRESS)));
            else if (step == L"text") {
                const int id = std::stoi(next());
                gui::SetText(Item(id), next());
            } else if (step == L"paste") {
                HWND field = Item(std::stoi(next()));
                gui::Send(field, EM_SETSEL, 0, -1);
                gui::Paste(field, next());
            } else if (step == L"type") {
                const int id = std::stoi(next());
                gui::TypeAndLeave(Item(id), next());
            } else if (step == L"check")
                done = Check(next());
            else if (step == L"check-answers") {
                const std::wstring line = next();
                done = CheckAnswers(line, next());
            } else if (step == L"face")
                done = gui::SelectComboItem(m_form, IDC_FONT_COMBO, next().c_str());
            else if (step == L"click")
                gui::Click(Item(std::stoi(next())));
            else if (step == L"select")
                gui::Send(Item(IDC_REGISTERED_LIST), LB_SETCURSEL, WPARAM(std::stoi(next())));
            else if (step == L"press") {
                const int id = std::stoi(next());
                std::vector<std::wstring> answers;
                while (i + 1 < args.size() && (args[i + 1] == L"yes" || args[i + 1] == L"no"))
                    answers.push_back(args[++i]);
                done = Press(id, answers, L"");
            } else if (step == L"press-stop") {
                const int id = std::stoi(next());
                gui::ClickLater(Item(id));
                done = StopWait(next()) && Follow(id, {}, L"");
            } else if (step == L"press-trying") {
                done = Press(std::stoi(next()), {}, L"trying");
            } else if (step == L"press-during") {
                const std::wstring kind = next();
                const int id = std::stoi(next());
                std::vector<std::wstring> answers;
                while (i + 1 < args.size() && (args[i + 1] == L"yes" || args[i + 1] == L"no"))
                    answers.push_back(args[++i]);
                done = Press(id, answers, kind);
            } else if (step == L"list")
                PrintList();
            else if (step == L"browser") {
                const std::wstring script = next();
                m_browserLog = next();
                m_browsers.emplace();
                done = m_browsers->Set(script);
            } else if (step == L"help")
                done = Help(next());
            else if (step == L"load") {
                gui::ClickLater(Item(IDC_LOAD));
                done = gui::ChooseFile(m_program, next());
            } else if (step == L"focus")
                Print(L"focus", std::to_wstring(GetDlgCtrlID(gui::FocusOf(m_form))));
            else if (step == L"detail")
                done = Detail(std::stoi(next()));
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
    HWND Item(int id) const { return GetDlgItem(m_form, id); }

    // Prints "browser: LINE" once the browser has been given one more page.
    bool BrowserGiven() {
        for (const ULONGLONG start = GetTickCount64(); GetTickCount64() - start < gui::kWaitMs;
             Sleep(20)) {
            std::ifstream log(m_browserLog.c_str(), std::ios::binary);
            const std::string given{std::istreambuf_iterator<char>(log), {}};
            const size_t end = given.find('\n', m_browserSeen);
            if (end != std::string::npos) {
                std::printf("browser: %s\n",
                            given.substr(m_browserSeen, end - m_browserSeen).c_str());
                std::fflush(stdout);
                m_browserSeen = end + 1;
                return true;
            }
        }
        return false;
    }

    // The window of the step help, opened; null when it did not come.
    HWND OpenForHelp(const std::wstring& where) {
        static const struct {
            const wchar_t* where;
            int command;
            const wchar_t* caption;
        } kWindows[] = {
            {L"model", ID_FILE_NEW, L"QC150/QW300/QW400グリフキット"},
            {L"comport", ID_COMPORT, L"COMポートの選択"},
            {L"network", ID_NETWORK_PRINTER, L"ネットワークプリンタの設定"},
            {L"about", ID_APP_ABOUT, L"バージョン情報"},
            {L"check", ID_CHECK_REGISTRATION, L"登録内容の確認"},
            {L"batch", ID_BATCH_PROVISION, L"一括登録"},
            {L"detail", 0, L"フォント情報"},
        };
        for (const auto& window : kWindows) {
            if (where != window.where)
                continue;
            if (window.command)
                gui::Command(m_frame, window.command);
            else {
                gui::Send(Item(IDC_REGISTERED_LIST), LB_SETCURSEL, 0);
                PostMessageW(m_form, WM_COMMAND, MAKEWPARAM(IDC_REGISTERED_LIST, LBN_DBLCLK),
                             LPARAM(Item(IDC_REGISTERED_LIST)));
            }
            return gui::WaitForWindow(m_program, window.caption, L"#32770");
        }
        return nullptr;
    }

    bool Help(const std::wstring& where) {
        if (where == L"menu")
            gui::Command(m_frame, ID_HELP_CONTENTS);
        HWND window = where == L"main" || where == L"menu" ? m_frame : OpenForHelp(where);
        if (!window || (where != L"menu" && !gui::PressKey(window, VK_F1)) || !BrowserGiven())
            return false;
        if (window == m_frame)
            return true;
        // OK takes the model shown, the one chosen at the start.
        PostMessageW(window, WM_COMMAND, where == L"network" || where == L"batch" ? IDCANCEL : IDOK,
                     0);
        return gui::WaitUntilGone(window) && gui::WaitUntilIdle(m_frame);
    }

    bool ChoosePort(const std::wstring& number) {
        gui::Command(m_frame, ID_COMPORT);
        HWND dialog = gui::WindowShown(m_program, L"COMポートの選択", L"#32770");
        if (!dialog)
            return false;
        gui::Send(GetDlgItem(dialog, IDC_COMPORT_COMBO), CB_SETCURSEL,
                  WPARAM(std::stoi(number) - 1));
        gui::Click(GetDlgItem(dialog, IDOK));
        return gui::WaitUntilGone(dialog) && gui::WaitUntilIdle(m_frame);
    }

    // Types the printer into the network printer dialog and takes it (network),
    // tests the connection to it and leaves the dialog without it
    // (connection-test), or presses OK, prints the box that refuses it and
    // leaves (network-refused).
    bool ChooseNetworkPrinter(const std::wstring& host, const std::wstring& port,
                              const std::wstring& how) {
        HWND dialog = OpenNetworkDialog();
        if (!dialog)
            return false;
        gui::SetText(GetDlgItem(dialog, IDC_NET_HOST), host);
        gui::SetText(GetDlgItem(dialog, IDC_NET_PORT), port);
        if (how != L"network") {
            gui::ClickLater(GetDlgItem(dialog, how == L"network-refused" ? IDOK : IDC_NET_TEST));
            if (how == L"connection-test-stop" && !StopWait(L"button"))
                return false;
            const gui::MessageBoxSeen seen = gui::WaitForMessageBox(m_program);
            if (!seen.box)
                return false;
            Print(L"box", seen.text);
            gui::Answer(seen.box, IDOK);
        }
        gui::Click(GetDlgItem(dialog, how == L"network" ? IDOK : IDCANCEL));
        return gui::WaitUntilGone(dialog) && gui::WaitUntilIdle(m_frame);
    }

    // Prints "offered: HOST PORT", what the network printer dialog offers, and leaves it.
    bool ShowNetworkOffered() {
        HWND dialog = OpenNetworkDialog();
        if (!dialog)
            return false;
        Print(L"offered", gui::Text(GetDlgItem(dialog, IDC_NET_HOST)) + L" " +
                              gui::Text(GetDlgItem(dialog, IDC_NET_PORT)));
        gui::Click(GetDlgItem(dialog, IDCANCEL));
        return gui::WaitUntilGone(dialog) && gui::WaitUntilIdle(m_frame);
    }

    HWND OpenNetworkDialog() {
        gui::Command(m_frame, ID_NETWORK_PRINTER);
        return gui::WindowShown(m_program, L"ネットワークプリンタの設定", L"#32770");
    }

    // Waits for the window of a wait for the printer, prints "wait: shown" and
    // stops the wait with its button or with Esc.
    bool StopWait(const std::wstring& how) {
        HWND wait = gui::WaitForWindow(m_program, L"プリンタと通信中", L"#32770");
        if (!wait)
            return false;
        Print(L"wait", L"shown");
        if (how == L"help") {
            if (!gui::PressKey(wait, VK_F1) || !BrowserGiven())
                return false;
            gui::ClickLater(GetDlgItem(wait, IDCANCEL));
            return true;
        }
        if (how == L"button") {
            gui::ClickLater(GetDlgItem(wait, IDCANCEL));
            return true;
        }
        if (how == L"main") {
            // A real click on the main window, away from the wait's window
            // (on the title bar it would start a move that takes the Esc),
            // once the wait's window has taken the keyboard; then Esc there.
            for (const ULONGLONG start = GetTickCount64();
                 GetForegroundWindow() != wait && GetTickCount64() - start < gui::kWaitMs;)
                Sleep(10);
            if (!gui::WaitUntilIdle(wait) || GetForegroundWindow() != wait)
                return false;
            RECT frame, above;
            GetWindowRect(m_frame, &frame);
            GetWindowRect(wait, &above);
            gui::ClickScreen({frame.left + 40, frame.bottom - 20});
            const POINT middle{(above.left + above.right) / 2, (above.top + above.bottom) / 2};
            const bool onTop = GetAncestor(WindowFromPoint(middle), GA_ROOT) == wait;
            Print(L"in-sight", onTop ? L"yes" : L"no");
            PostMessageW(Item(IDC_POINT_SIZE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(Item(IDC_POINT_SIZE), WM_KEYUP, VK_ESCAPE, 0xC0010001);
            return true;
        }
        // The key as the hardware gives it, to the window that has the focus.
        return gui::WaitUntilIdle(wait) && gui::FocusOf(wait) == GetDlgItem(wait, IDCANCEL) &&
               gui::PressKey(wait, VK_ESCAPE);
    }

    // Clicks the button and follows the operation to its end.
    bool Press(int id, std::vector<std::wstring> answers, const std::wstring& during) {
        gui::ClickLater(Item(id));
        return Follow(id, std::move(answers), during);
    }

    // Follows the operation of the button to its end: each time the program
    // waits for the user, the message box it shows is printed and answered,
    // until it waits with none, its progress window gone and the button
    // usable again (a download or a printer command goes on while the window
    // waits).
    bool Follow(int id, std::vector<std::wstring> answers, const std::wstring& during) {
        bool tried = false;
        gui::IdleWatch idle(m_frame);
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            HWND progress = gui::WaitForWindow(m_program, L"進行状況", L"#32770", 0);
            if (!during.empty() && !tried && progress) {
                tried = true;
                if (during == L"trying")
                    TryDuringTransfer();
                else
                    HoldDuringTransfer(during, progress);
                idle = gui::IdleWatch(m_frame); // until what was tried has been handled too
            }
            if (GetTickCount64() - start > 2 * gui::kWaitMs)
                return false;
            if (!idle.Reached()) {
                Sleep(10);
                continue;
            }
            const gui::MessageBoxSeen seen = gui::WaitForMessageBox(m_program, L"実行結果", 0);
            if (!seen.box) {
                if (!progress && IsWindowEnabled(Item(id)))
                    break;
                // The window waits while the download's thread talks to the
                // printer: the end is its final message.
                Sleep(10);
                idle = gui::IdleWatch(m_frame);
                continue;
            }
            progress = gui::WaitForWindow(m_program, L"進行状況", L"#32770", 0);
            Print(L"at-box", Milliseconds());
            Print(L"box", seen.text);
            Print(L"progress", progress ? L"shown" : L"none");
            const bool question = GetDlgItem(seen.box, IDYES) != nullptr;
            int button = IDOK;
            if (question) {
                button = !answers.empty() && answers.front() == L"yes" ? IDYES : IDNO;
                if (!answers.empty())
                    answers.erase(answers.begin());
            }
            gui::AnswerLater(seen.box, button);
            if (question)
                Print(L"at-answer", Milliseconds());
            idle = gui::IdleWatch(m_frame);
        }
        if (during == L"trying") {
            Print(L"held", tried && IsWindow(m_frame) ? L"yes" : L"no");
            const bool check = gui::WaitForWindow(m_program, L"登録内容の確認", L"#32770", 0);
            Print(L"check-window", check ? L"shown" : L"none");
            const bool network =
                gui::WaitForWindow(m_program, L"ネットワークプリンタの設定", L"#32770", 0);
            Print(L"network-window", network ? L"shown" : L"none");
        }
        return true;
    }

    // A visible dialog of the program other than the progress window.
    HWND OpenModalWindow() const {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == m_program.Id() && IsWindowVisible(w) && gui::Text(w) != L"進行状況")
                return w;
        }
        return nullptr;
    }

    // A modal window opened during the download and left open: the
    // download's final message comes over it, and when the message goes the
    // main window is still disabled under the modal window, which stays.
    void HoldModalWindow(const std::wstring& kind) {
        if (kind == L"about")
            gui::Command(m_frame, ID_APP_ABOUT);
        else
            gui::ClickLater(Item(IDC_TEXT_FILE));
        HWND dialog = nullptr;
        for (int waited = 0; !dialog && waited < 60000; waited += 20) {
            dialog = OpenModalWindow();
            if (!dialog)
                Sleep(20);
        }
        if (!dialog) {
            Print(L"hold", L"not entered");
            return;
        }
        const gui::MessageBoxSeen seen = gui::WaitForMessageBox(m_program);
        if (!seen.box) {
            Print(L"hold", L"no message");
            return;
        }
        Print(L"box", seen.text);
        Print(L"message-over", GetWindow(seen.box, GW_OWNER) == dialog ? L"modal" : L"main");
        gui::Answer(seen.box, IDOK);
        Print(L"main-enabled", IsWindowEnabled(m_frame) ? L"yes" : L"no");
        Print(L"modal-open", IsWindowVisible(dialog) ? L"yes" : L"no");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        gui::WaitUntilGone(dialog);
        gui::WaitUntilIdle(m_frame);
        Print(L"main-enabled", IsWindowEnabled(m_frame) ? L"yes" : L"no");
    }

    // What must not disturb a running download: another Download, a Clear,
    // closing the main window.
    void TryDuringTransfer() {
        Print(L"download-enabled", IsWindowEnabled(Item(IDC_DOWNLOAD)) ? L"yes" : L"no");
        // The menu bar: COMポート, ネットワーク, 登録内容の確認, 一括登録, ヘルプ.
        const std::vector<bool> bar = gui::MenuBarItemsEnabled(m_frame, 5);
        for (const auto& [what, item] :
             {std::pair(L"network-enabled", 1u), std::pair(L"check-enabled", 2u)})
            Print(what, bar.empty() ? L"unknown" : bar[item] ? L"yes" : L"no");
        gui::ClickLater(Item(IDC_DOWNLOAD));
        gui::ClickLater(Item(IDC_CLEAR));
        gui::Command(m_frame, ID_CHECK_REGISTRATION);
        gui::Command(m_frame, ID_NETWORK_PRINTER);
        gui::Command(m_frame, ID_FILE_NEW);
        PostMessageW(m_frame, WM_CLOSE, 0, 0);
    }

    // Once two characters have gone, 中止 of the progress window (stop) or
    // Esc on the main window (stop-esc); prints "stopped-at: POS/RANGE", the
    // counter the window shows, and "at-stop: MS".
    void StopTransfer(const std::wstring& kind, HWND progress, HWND bar) {
        while (gui::Send(bar, PBM_GETPOS) < 2 && IsWindow(bar))
            Sleep(10);
        Print(L"stopped-at", std::to_wstring(gui::Send(bar, PBM_GETPOS)) + L"/" +
                                 std::to_wstring(gui::Send(bar, PBM_GETRANGE, FALSE)));
        Print(L"counter", gui::Text(GetDlgItem(progress, IDC_PROGRESS_COUNT)));
        Print(L"at-stop", Milliseconds());
        if (kind == L"stop") {
            gui::ClickLater(GetDlgItem(progress, IDCANCEL));
            return;
        }
        // Esc as a field of the main window gets it from the keyboard.
        PostMessageW(Item(IDC_POINT_SIZE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(Item(IDC_POINT_SIZE), WM_KEYUP, VK_ESCAPE, 0xC0010001);
    }

    // The window busy with the operator while the download runs: the bar
    // must fill all the same.
    void HoldDuringTransfer(const std::wstring& kind, HWND progress) {
        HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
        if (kind == L"stop" || kind == L"stop-esc") {
            StopTransfer(kind, progress, bar);
            return;
        }
        if (kind == L"click") {
            // A real click on the main window, away from the progress window.
            RECT frame, above, area;
            GetWindowRect(m_frame, &frame);
            GetWindowRect(progress, &above);
            // Its label as the screen shows it, before and after the click.
            HWND label = GetDlgItem(progress, IDC_PROGRESS_LABEL);
            const std::vector<COLORREF> before = gui::Capture(label, &area);
            gui::ClickScreen({frame.left + 40, frame.bottom - 20});
            const POINT middle{(above.left + above.right) / 2, (above.top + above.bottom) / 2};
            const bool onTop = GetAncestor(WindowFromPoint(middle), GA_ROOT) == progress;
            Print(L"progress-above", onTop ? L"yes" : L"no");
            Print(L"progress-seen", gui::Capture(label, &area) == before ? L"yes" : L"no");
            return;
        }
        if (kind == L"about" || kind == L"textfile") {
            HoldModalWindow(kind);
            return;
        }
        if (kind == L"help") {
            if (gui::PressKey(progress, VK_F1))
                BrowserGiven();
            return;
        }
        HWND box = nullptr;
        bool entered = false;
        if (kind == L"menu") {
            PostMessageW(m_frame, WM_SYSCOMMAND, SC_KEYMENU, L'h');
            entered = gui::WaitForWindow(m_program, nullptr, L"#32768") != nullptr;
        } else if (kind == L"move") {
            PostMessageW(m_frame, WM_SYSCOMMAND, SC_MOVE, 0);
            entered = gui::WaitForThreadState(m_frame, GUI_INMOVESIZE, true);
        } else {
            gui::TypeAndLeave(Item(IDC_POINT_SIZE), L"0");
            const gui::MessageBoxSeen seen = gui::WaitForMessageBox(m_program);
            box = seen.box;
            entered = box != nullptr;
            Print(L"box", seen.text);
        }
        if (!entered) {
            Print(L"hold", L"not entered");
            return;
        }
        const auto range = [&] { return gui::Send(bar, PBM_GETRANGE, FALSE); };
        Print(L"hold",
              std::to_wstring(gui::Send(bar, PBM_GETPOS)) + L"/" + std::to_wstring(range()));
        bool full = false;
        for (int waited = 0; !full && waited < 60000; waited += 20) {
            full = gui::Send(bar, PBM_GETPOS) >= range();
            if (!full)
                Sleep(20);
        }
        Print(L"full-while-held", full ? L"yes" : L"no");
        if (box) {
            // The download's own message comes over the field's, which is
            // answered after it; then the field gets a good size.
            gui::MessageBoxSeen last;
            for (int waited = 0; waited < 60000; waited += 20) {
                last = gui::WaitForMessageBox(m_program, L"実行結果", 0);
                if (last.box && last.box != box)
                    break;
                Sleep(20);
            }
            if (last.box && last.box != box) {
                Print(L"box", last.text);
                gui::Answer(last.box, IDOK);
            }
            gui::Answer(box, IDOK);
            gui::TypeAndLeave(Item(IDC_POINT_SIZE), L"10");
            return;
        }
        // Esc ends the menu (twice: the popup, then the menu bar) or the move.
        const DWORD mode = kind == L"menu" ? GUI_INMENUMODE : GUI_INMOVESIZE;
        for (int tries = 0; tries < 10 && gui::InThreadState(m_frame, mode); ++tries) {
            PostMessageW(m_frame, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(m_frame, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            gui::WaitForThreadState(m_frame, mode, false, 1000);
        }
    }

    void PrintList() {
        HWND list = Item(IDC_REGISTERED_LIST);
        const LRESULT count = gui::Send(list, LB_GETCOUNT);
        for (int k = 0; k < int(count); ++k)
            Print(L"line", ListLine(list, k));
        Print(L"extent", std::to_wstring(gui::Send(list, LB_GETHORIZONTALEXTENT)));
        Print(L"memory", gui::Text(Item(IDC_MEMORY_USAGE)));
    }

    std::wstring Milliseconds() const { return std::to_wstring((GetTickCount64() - m_started)); }

    bool Detail(int line) {
        HWND list = Item(IDC_REGISTERED_LIST);
        gui::Send(list, LB_SETCURSEL, WPARAM(line));
        PostMessageW(m_form, WM_COMMAND, MAKEWPARAM(IDC_REGISTERED_LIST, LBN_DBLCLK), LPARAM(list));
        HWND dialog = nullptr;
        for (const wchar_t* caption : {L"フォント情報", L"ロゴ情報"})
            if (!dialog)
                dialog = gui::WindowShown(m_program, caption, L"#32770");
        if (!dialog) {
            Print(L"dialog", L"none");
            return true;
        }
        Print(L"dialog", gui::Text(dialog));
        for (int id :
             {IDC_DETAIL_ID, IDC_DETAIL_NAME, IDC_DETAIL_COUNT, IDC_DETAIL_SIZE,
              IDC_DETAIL_EMPHASIS, IDC_DETAIL_ITALIC, IDC_LOGO_VERTICAL, IDC_LOGO_HORIZONTAL})
            if (HWND item = GetDlgItem(dialog, id))
                Print((L"item " + std::to_wstring(id)).c_str(), gui::Text(item));
        HWND entries = GetDlgItem(dialog, IDC_DETAIL_LIST);
        const LRESULT count = gui::Send(entries, LB_GETCOUNT);
        for (int k = 0; k < int(count); ++k)
            Print(L"entry", ListLine(entries, k));
        gui::Click(GetDlgItem(dialog, IDOK));
        return gui::WaitUntilGone(dialog) && gui::WaitUntilIdle(m_frame);
    }

    bool Check(const std::wstring& imagePath) {
        gui::Command(m_frame, ID_CHECK_REGISTRATION);
        // The window, or a message that refuses the form.
        const gui::MessageBoxSeen refused = gui::MessageBoxShown(m_program);
        if (refused.box) {
            Print(L"box", refused.text);
            gui::Answer(refused.box, IDOK);
            return true;
        }
        HWND dialog = gui::WindowShown(m_program, L"登録内容の確認", L"#32770");
        if (!dialog)
            return false;
        for (int id : {IDC_CHECK_COUNT, IDC_CHECK_BYTES, IDC_CHECK_CELL, IDC_CHECK_FIT})
            Print((L"check " + std::to_wstring(id)).c_str(), gui::Text(GetDlgItem(dialog, id)));
        for (int id : {IDC_CHECK_MISSING, IDC_CHECK_DROPPED}) {
            HWND list = GetDlgItem(dialog, id);
            const LRESULT count = gui::Send(list, LB_GETCOUNT);
            for (int k = 0; k < int(count); ++k)
                Print((L"check " + std::to_wstring(id)).c_str(), ListLine(list, k));
        }
        if (imagePath != L"-") {
            // A new file: the file dialog asks nothing, and the file is there
            // once the save has ended.
            DeleteFileW(imagePath.c_str());
            gui::ClickLater(GetDlgItem(dialog, IDC_CHECK_SAVE_IMAGE));
            if (!gui::ChooseFile(m_program, imagePath))
                return false;
            HWND progress = GetDlgItem(dialog, IDC_CHECK_SAVE_PROGRESS);
            for (int waited = 0; waited < 60000; waited += 20) {
                const gui::MessageBoxSeen seen = gui::WaitForMessageBox(m_program, L"実行結果", 0);
                if (seen.box) {
                    Print(L"box", seen.text);
                    gui::Answer(seen.box, IDOK);
                    break;
                }
                if (GetFileAttributesW(imagePath.c_str()) != INVALID_FILE_ATTRIBUTES &&
                    !IsWindowVisible(progress))
                    break;
                Sleep(20);
            }
        }
        gui::Click(GetDlgItem(dialog, IDOK));
        return gui::WaitUntilGone(dialog) && gui::WaitUntilIdle(m_frame);
    }

    void PrintItems(HWND dialog, std::initializer_list<int> ids) {
        for (int id : ids)
            Print((L"check " + std::to_wstring(id)).c_str(), gui::Text(GetDlgItem(dialog, id)));
    }

    bool CheckAnswers(const std::wstring& line, const std::wstring& picturePath) {
        gui::Command(m_frame, ID_CHECK_REGISTRATION);
        HWND dialog = gui::WindowShown(m_program, L"登録内容の確認", L"#32770");
        if (!dialog)
            return false;
        PrintItems(dialog,
                   {IDC_CHECK_BYTES, IDC_CHECK_FIT_SIZE, IDC_CHECK_USE_SIZE, IDC_CHECK_LINE_TEXT});
        gui::SetText(GetDlgItem(dialog, IDC_CHECK_LINE_TEXT), line);
        // The line as the screen shows it once the window has drawn it.
        RECT area;
        const std::vector<COLORREF> pixels =
            gui::Capture(GetDlgItem(dialog, IDC_CHECK_LINE), &area);
        const long width = area.right - area.left, height = area.bottom - area.top;
        FILE* file = _wfopen(picturePath.c_str(), L"wb");
        if (!file || pixels.size() != size_t(width * height))
            return false;
        std::fprintf(file, "P4\n%ld %ld\n", width, height);
        for (long y = 0; y < height; ++y)
            for (long x = 0; x < width; x += 8) {
                unsigned char bits = 0;
                for (long k = 0; k < 8 && x + k < width; ++k)
                    if (pixels[size_t(y * width + x + k)] == RGB(0, 0, 0))
                        bits |= 0x80 >> k;
                std::fputc(bits, file);
            }
        std::fclose(file);
        PrintItems(dialog, {IDC_CHECK_LINE_MISSING});
        HWND use = GetDlgItem(dialog, IDC_CHECK_USE_SIZE);
        Print(L"check-use-enabled", IsWindowEnabled(use) ? L"yes" : L"no");
        if (!IsWindowEnabled(use)) {
            gui::Click(GetDlgItem(dialog, IDOK));
            return gui::WaitUntilGone(dialog) && gui::WaitUntilIdle(m_frame);
        }
        // The check closes, the form takes the size, the check opens again.
        gui::ClickLater(use);
        if (!gui::WaitUntilGone(dialog))
            return false;
        HWND again = gui::WaitForWindow(m_program, L"登録内容の確認", L"#32770");
        if (!again || !gui::WaitUntilIdle(again))
            return false;
        Print(L"size", gui::Text(Item(IDC_POINT_SIZE)));
        PrintItems(again, {IDC_CHECK_BYTES, IDC_CHECK_FIT, IDC_CHECK_LINE_TEXT});
        gui::Click(GetDlgItem(again, IDOK));
        return gui::WaitUntilGone(again) && gui::WaitUntilIdle(m_frame);
    }

    gui::Program& m_program;
    HWND m_frame;
    HWND m_form;
    std::wstring m_browserLog;
    // The prefix's browser setting, given back as it was when the script
    // ends: the demo and the operator's F1 reach their own browser again.
    class BrowserSetting {
    public:
        bool Set(const std::wstring& browsers) {
            wchar_t before[1024] = {};
            DWORD size = sizeof before;
            m_bHad = RegGetValueW(HKEY_CURRENT_USER, kKey, L"Browsers", RRF_RT_REG_SZ, nullptr,
                                  before, &size) == ERROR_SUCCESS;
            m_before = before;
            return Write(browsers);
        }
        ~BrowserSetting() {
            if (m_bHad)
                Write(m_before);
            else
                RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"Browsers");
        }

    private:
        static constexpr const wchar_t* kKey = L"Software\\Wine\\WineBrowser";
        static bool Write(const std::wstring& browsers) {
            return RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Browsers", REG_SZ, browsers.c_str(),
                                   DWORD((browsers.size() + 1) * 2)) == ERROR_SUCCESS;
        }
        bool m_bHad = false;
        std::wstring m_before;
    };
    std::optional<BrowserSetting> m_browsers;
    size_t m_browserSeen = 0;
    ULONGLONG m_started = GetTickCount64();
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> steps(argv + 1, argv + argc);
    int model = 0;
    if (steps.size() >= 2 && steps[0] == L"model") {
        model = std::stoi(steps[1]);
        steps.erase(steps.begin(), steps.begin() + 2);
    }
    const int buttons[] = {IDC_MODEL_COMPACT, IDC_MODEL_QW300, IDC_MODEL_QW400};
    gui::Program program;
    HWND frame = program.Started() ? gui::ChooseModel(program, buttons[model % 3]) : nullptr;
    HWND form = frame ? FindWindowExW(frame, nullptr, L"#32770", nullptr) : nullptr;
    if (!form) {
        Print(L"failed", L"start");
        return 1;
    }
    Script script(program, frame, form);
    const bool done = script.Run(steps);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    const DWORD status = program.WaitForExit();
    Print(L"exit", std::to_wstring(status));
    return done ? 0 : 1;
}
