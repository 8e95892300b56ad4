// window_wait_bench: the longest moment the main window leaves a message
// unanswered while the operator waits for something, driven from outside
// under Xvfb as a person would:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" scripts/winrun build/windows/bin/window_wait_bench.exe
//
// Sections: pastes into the characters box (200,000 characters, refused;
// 56,000 on one line and in lines of 64, taken), and 情報取得 and the network
// dialog's 接続テスト against a printer on 127.0.0.1 that takes the connection
// and never answers. Each prints the whole time and the longest gap between
// two answers of the window to a probe that asks it all along. Last, the
// time from a click on 中止 of the wait's window to the message that says
// the wait was stopped.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "res/control_ids.h"
#include "tools/bench/bench_clock.h"
#include "tools/gui_driver/gui_driver.h"
#include "tools/gui_driver/loopback_port.h"

namespace {

// Asks hwnd WM_NULL over and over on a thread of its own; the longest time
// one question waited for its answer.
class Probe {
public:
    explicit Probe(HWND hwnd)
        : m_thread([this, hwnd] {
              while (!m_stop) {
                  const double asked = BenchSeconds();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
                  m_longest = std::max(m_longest.load(), BenchSeconds() - asked);
                  Sleep(5);
              }
          }) {}
    double Stop() {
        m_stop = true;
        m_thread.join();
        return m_longest;
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<double> m_longest{0};
    std::thread m_thread;
};

// Runs action with the probe on the frame and prints the figures.
void Measure(const char* what, HWND frame, const std::function<void()>& action) {
    const double start = BenchSeconds();
    Probe probe(frame);
    action();
    const double longest = probe.Stop();
    std::printf("%-44s whole %7.3f s, longest unanswered %7.3f s (target < %s)\n", what,
                BenchSeconds() - start, longest,
                std::string(what).find("paste") == 0 ? "1 s" : "0.1 s");
}

// Answers the message box that ends an operation.
void AnswerBox(const gui::Program& program) {
    const gui::MessageBoxSeen seen = gui::WaitForMessageBox(program, L"実行結果", 120000);
    if (seen.box)
        gui::Answer(seen.box, IDOK);
}

std::wstring Lines(size_t n, size_t width) {
    std::wstring text;
    while (text.size() < n)
        text += text.size() % (width + 2) >= width ? L'\n' : L'B';
    return text;
}

} // namespace

int main() {
    gui::Program program;
    HWND frame = program.Started() ? gui::ChooseModel(program, IDC_MODEL_COMPACT) : nullptr;
    HWND form = frame ? FindWindowExW(frame, nullptr, L"#32770", nullptr) : nullptr;
    if (!form) {
        std::fprintf(stderr, "window_wait_bench: Glyphkit.exe did not start\n");
        return 1;
    }
    gui::SelectComboItem(form, IDC_FONT_COMBO, L"IPAゴシック");
    HWND box = GetDlgItem(form, IDC_REG_TEXT);

    Measure("paste 200000 characters (refused)", frame, [&] {
        gui::SetText(box, L"");
        gui::PasteLater(box, std::wstring(200000, L'B'));
        AnswerBox(program);
    });
    const struct {
        const char* what;
        std::wstring text;
    } pastes[] = {{"paste 56000 characters on one line", std::wstring(56000, L'B')},
                  {"paste 56000 characters in lines of 64", Lines(56000, 64)}};
    for (const auto& paste : pastes) {
        Measure(paste.what, frame, [&] {
            gui::SetText(box, L"");
            gui::Paste(box, paste.text);
            gui::WaitUntilIdle(frame);
        });
    }

    const gui::LoopbackPort silent(true);
    const std::wstring port = silent.Port();

    gui::Command(frame, ID_NETWORK_PRINTER);
    HWND dialog = gui::WindowShown(program, L"ネットワークプリンタの設定", L"#32770");
    if (!dialog)
        return 1;
    gui::SetText(GetDlgItem(dialog, IDC_NET_HOST), L"127.0.0.1");
    gui::SetText(GetDlgItem(dialog, IDC_NET_PORT), port);
    Measure("connection test, silent printer", frame, [&] {
        gui::ClickLater(GetDlgItem(dialog, IDC_NET_TEST));
        AnswerBox(program);
    });
    gui::Click(GetDlgItem(dialog, IDOK));
    gui::WaitUntilGone(dialog);
    Measure("get info, silent printer", frame, [&] {
        gui::ClickLater(GetDlgItem(form, IDC_GET_INFO));
        AnswerBox(program);
    });
    for (const auto& [what, button] :
         {std::pair{"get info", IDC_GET_INFO}, std::pair{"all clear", IDC_ALL_CLEAR}}) {
        gui::ClickLater(GetDlgItem(form, button));
        HWND wait = gui::WaitForWindow(program, L"プリンタと通信中", L"#32770");
        if (!wait)
            return 1;
        const double stopped = BenchSeconds();
        gui::ClickLater(GetDlgItem(wait, IDCANCEL));
        const gui::MessageBoxSeen seen = gui::WaitForMessageBox(program, L"実行結果", 120000);
        std::printf("stop %-39s from 中止 to its message %7.3f s (target < 0.5 s)\n", what,
                    BenchSeconds() - stopped);
        if (seen.box)
            gui::Answer(seen.box, IDOK);
    }
    PostMessageW(frame, WM_CLOSE, 0, 0);
    program.WaitForExit();
    return 0;
}
