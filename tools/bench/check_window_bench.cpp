// check_window_bench: how long the registration check window takes to come
// up for the largest registration (5000 characters at 72 points on the
// 305-dpi model), and how long a page of its sheet takes to scroll. Drives
// Glyphkit.exe from outside as a person would, under Xvfb:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" scripts/winrun build/windows/bin/check_window_bench.exe
//
// Prints the time from the menu command to the sheet's first glyph on the
// screen, for a few runs, the mean time per page down and per key typed into
// the label line's field.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "res/control_ids.h"
#include "res/registration_check_ids.h"
#include "tools/bench/bench_clock.h"
#include "tools/gui_driver/gui_driver.h"

namespace {

constexpr size_t kCharacters = 5000;
constexpr int kRuns = 3;
constexpr int kPages = 20;
constexpr int kKeys = 30;

double Now() {
    return BenchSeconds();
}

int Fail(const char* what) {
    std::fprintf(stderr, "check_window_bench: %s\n", what);
    return 1;
}

} // namespace

int main() {
    gui::Program program;
    HWND frame = program.Started() ? gui::ChooseModel(program, IDC_MODEL_QW400) : nullptr;
    HWND form = frame ? FindWindowExW(frame, nullptr, L"#32770", nullptr) : nullptr;
    if (!form)
        return Fail("Glyphkit.exe did not start");
    gui::SetText(GetDlgItem(form, IDC_REG_NAME), L"BENCH");
    if (!gui::SelectComboItem(form, IDC_FONT_COMBO, L"IPAゴシック"))
        return Fail("no IPAゴシック");
    gui::TypeAndLeave(GetDlgItem(form, IDC_POINT_SIZE), L"72");
    gui::Click(GetDlgItem(form, IDC_RANGE_ON)); // the text only
    const std::wstring text = gui::Kanji(kCharacters);
    gui::SetText(GetDlgItem(form, IDC_REG_TEXT), text);
    std::printf("characters: %zu, 72 pt, 305 dpi\n", text.size());

    std::vector<double> opening;
    for (int run = 0; run < kRuns; ++run) {
        const double start = Now();
        gui::Command(frame, ID_CHECK_REGISTRATION);
        HWND dialog = gui::WaitForWindow(program, L"登録内容の確認", L"#32770", 60000);
        if (!dialog)
            return Fail("no check window");
        // On the screen: the sheet's first glyph shows in black.
        HWND sheet = GetDlgItem(dialog, IDC_CHECK_SHEET);
        bool inked = false;
        while (!inked && Now() - start < 60) {
            RECT area;
            for (COLORREF pixel : gui::Capture(sheet, &area))
                inked = inked || pixel == RGB(0, 0, 0);
        }
        if (!inked)
            return Fail("the sheet shows no glyph");
        opening.push_back(Now() - start);
        std::printf("run %d: command to the first glyph on the screen %.3f s (%ls characters)\n",
                    run + 1, opening.back(),
                    gui::Text(GetDlgItem(dialog, IDC_CHECK_COUNT)).c_str());

        if (run == kRuns - 1) {
            const double scrollStart = Now();
            for (int page = 0; page < kPages; ++page) {
                gui::Send(sheet, WM_VSCROLL, SB_PAGEDOWN);
                gui::Send(sheet, WM_PAINT);
            }
            gui::WaitUntilIdle(sheet);
            std::printf("sheet: %.1f ms per page down (%d pages, each drawn)\n",
                        (Now() - scrollStart) * 1000 / kPages, kPages);
            // Typing in the label line's field: each key's change handled and
            // the line drawn again, a character not yet drawn each time.
            HWND field = GetDlgItem(dialog, IDC_CHECK_LINE_TEXT);
            HWND line = GetDlgItem(dialog, IDC_CHECK_LINE);
            gui::SetText(field, L"");
            double worst = 0, total = 0;
            for (int key = 0; key < kKeys; ++key) {
                const double keyStart = Now();
                gui::Send(field, WM_CHAR, WPARAM(text[size_t(key) * 97 % text.size()]));
                gui::Send(line, WM_PAINT);
                const double seconds = Now() - keyStart;
                worst = std::max(worst, seconds);
                total += seconds;
            }
            std::printf("line: %.1f ms a key on average, %.1f ms at most (%d keys, aim: 50 ms)\n",
                        total * 1000 / kKeys, worst * 1000, kKeys);
        }
        gui::Click(GetDlgItem(dialog, IDOK));
        for (int waited = 0; IsWindow(dialog) && waited < 5000; waited += 20)
            Sleep(20);
    }
    std::sort(opening.begin(), opening.end());
    std::printf("best %.3f s, median %.3f s (aim: within 1.5 s)\n", opening.front(),
                opening[opening.size() / 2]);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    program.WaitForExit();
    return 0;
}
