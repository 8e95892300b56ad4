// Takes the program through the screens the README shows, with the virtual
// printer on COM1 holding a logo: the model choice, the main form filled in,
// a download with its progress window and its end, the details of a font and
// of a logo, the registration check of a small kanji at 203 dpi over the
// form that shows it at the screen's resolution, with a label line, the About, COM port and
// network printer dialogs; writes a picture of each as
// DIR\NAME.ppm.
//
//   glyphkit-demo-screens DIR
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "res/control_ids.h"
#include "res/registration_check_ids.h"
#include "tools/gui_driver/gui_driver.h"

namespace {

std::wstring g_dir;

// The window as it stands on the screen (with a second window, the area of
// both), written as DIR\name.ppm.
bool Shot(HWND shown, const char* name, HWND also = nullptr) {
    RECT area;
    GetWindowRect(shown, &area);
    for (HWND window : {shown, also}) {
        if (!window)
            continue;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gui::WaitUntilIdle(window);
        RECT more;
        GetWindowRect(window, &more);
        UnionRect(&area, &area, &more);
    }
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return gui::SaveScreenImage(area,
                                g_dir + L"\\" + std::wstring(name, name + strlen(name)) + L".ppm");
}

int Fail(const char* step) {
    std::fprintf(stderr, "demo: %s\n", step);
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return Fail("usage: glyphkit-demo-screens DIR");
    g_dir = argv[1];

    gui::Program program;
    if (!program.Started())
        return Fail("Glyphkit.exe did not start");
    if (!gui::WaitForWindow(program, L"QC150/QW300/QW400グリフキット", L"#32770") ||
        !Shot(gui::WaitForWindow(program, nullptr, L"#32770"), "model-choice"))
        return Fail("no model choice");
    HWND frame = gui::ChooseModel(program, IDC_MODEL_COMPACT);
    HWND form = frame ? FindWindowExW(frame, nullptr, L"#32770", nullptr) : nullptr;
    if (!form)
        return Fail("no main window");

    gui::SetText(GetDlgItem(form, IDC_REG_ID), L"1");
    gui::SetText(GetDlgItem(form, IDC_REG_NAME), L"サンプル");
    gui::SelectComboItem(form, IDC_FONT_COMBO, L"IPAゴシック");
    gui::TypeAndLeave(GetDlgItem(form, IDC_POINT_SIZE), L"24");
    gui::Click(GetDlgItem(form, IDC_BOLD));
    gui::SetText(GetDlgItem(form, IDC_REG_TEXT),
                 L"いろはにほへと ちりぬるを\r\n漢字かな交じり文 ABCabc0123");
    if (!Shot(frame, "main-form"))
        return Fail("no screenshot of the main form");

    // The printer on COM1: what it holds, then the sample downloaded to it.
    gui::ClickLater(GetDlgItem(form, IDC_GET_INFO));
    gui::MessageBoxSeen seen = gui::WaitForMessageBox(program, L"実行結果", 30000);
    if (!seen.box)
        return Fail("no answer to Get info");
    gui::Answer(seen.box, IDOK);
    gui::Click(GetDlgItem(form, IDC_RANGE_ON)); // the typed characters only
    gui::ClickLater(GetDlgItem(form, IDC_DOWNLOAD));
    HWND progress = gui::WaitForWindow(program, L"進行状況", L"#32770", 30000);
    if (!progress || !Shot(frame, "download-progress"))
        return Fail("no progress window");
    seen = gui::WaitForMessageBox(program, L"実行結果", 60000);
    if (!seen.box || !Shot(frame, "download-done"))
        return Fail("no end of the download");
    gui::Answer(seen.box, IDOK);

    // The details of the font just sent (line 0) and of the printer's logo.
    HWND list = GetDlgItem(form, IDC_REGISTERED_LIST);
    const struct {
        int line;
        const wchar_t* caption;
        const char* name;
    } details[] = {{0, L"フォント情報", "font-detail"}, {1, L"ロゴ情報", "logo-detail"}};
    for (const auto& detail : details) {
        gui::Send(list, LB_SETCURSEL, WPARAM(detail.line));
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDC_REGISTERED_LIST, LBN_DBLCLK), LPARAM(list));
        HWND dialog = gui::WaitForWindow(program, detail.caption, L"#32770");
        if (!dialog || !Shot(dialog, detail.name))
            return Fail("no detail dialog");
        gui::Click(GetDlgItem(dialog, IDOK));
    }

    // The registration check of a small kanji at 203 dpi: thin strokes merge
    // in the 1-bit cell that the form's text shows apart on the screen. The
    // check opens below the form's registration text, so both are seen.
    gui::TypeAndLeave(GetDlgItem(form, IDC_POINT_SIZE), L"7");
    gui::Click(GetDlgItem(form, IDC_BOLD)); // upright
    gui::SetText(GetDlgItem(form, IDC_REG_TEXT), L"鬱襲議響驚");
    SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    gui::Command(frame, ID_CHECK_REGISTRATION);
    HWND check = gui::WaitForWindow(program, L"登録内容の確認", L"#32770");
    if (!check || !gui::SelectComboItem(check, IDC_CHECK_ZOOM, L"4"))
        return Fail("no registration check");
    // A label line with a character the registration does not hold.
    gui::SetText(GetDlgItem(check, IDC_CHECK_LINE_TEXT), L"議響の驚");
    // Beside the registration text as far as the screen allows, at its
    // bottom edge.
    RECT textArea, checkArea;
    GetWindowRect(GetDlgItem(form, IDC_REG_TEXT), &textArea);
    GetWindowRect(check, &checkArea);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int checkWidth = checkArea.right - checkArea.left;
    const int checkHeight = checkArea.bottom - checkArea.top;
    SetWindowPos(check, nullptr, std::min<int>(textArea.right + 8, screenWidth - checkWidth),
                 screenHeight - checkHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (!Shot(check, "registration-check", frame))
        return Fail("no screenshot of the registration check");
    gui::Click(GetDlgItem(check, IDOK));

    gui::Command(frame, ID_APP_ABOUT);
    HWND about = gui::WaitForWindow(program, L"バージョン情報", L"#32770");
    if (!about || !Shot(about, "about"))
        return Fail("no About dialog");
    gui::Click(GetDlgItem(about, IDOK));

    gui::Command(frame, ID_COMPORT);
    HWND ports = gui::WaitForWindow(program, L"COMポートの選択", L"#32770");
    if (!ports || !Shot(ports, "com-port"))
        return Fail("no COM port dialog");
    gui::Click(GetDlgItem(ports, IDCANCEL));

    gui::Command(frame, ID_NETWORK_PRINTER);
    HWND network = gui::WaitForWindow(program, L"ネットワークプリンタの設定", L"#32770");
    if (!network)
        return Fail("no network printer dialog");
    gui::SetText(GetDlgItem(network, IDC_NET_HOST), L"192.168.0.21");
    if (!gui::WaitUntilIdle(program) || !Shot(network, "network-printer"))
        return Fail("no screenshot of the network printer dialog");
    gui::Click(GetDlgItem(network, IDCANCEL));

    PostMessageW(frame, WM_CLOSE, 0, 0);
    return program.WaitForExit() == 0 ? 0 : Fail("Glyphkit.exe did not end cleanly");
}
