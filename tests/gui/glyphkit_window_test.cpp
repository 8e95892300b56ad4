// Glyphkit.exe under Xvfb, driven from outside as a person uses it: the
// model choice, the field checks, font selection, Save and Load through their
// file dialogs, text files, the menu's dialogs, Ctrl+N and the frame's size.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/control_ids.h"
#include "res/registration_check_ids.h"
#include "tools/gui_driver/gui_driver.h"

using namespace gui;

namespace {

const wchar_t kGothic[] = L"IPAゴシック";

std::vector<uint8_t> FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class WindowTest : public ::testing::Test {
protected:
    // Starts the program and chooses a model; the form after it.
    void Start(int modelButton = IDC_MODEL_COMPACT) {
        ASSERT_TRUE(program.Started());
        frame = ChooseModel(program, modelButton);
        ASSERT_NE(frame, nullptr);
        form = FindWindowExW(frame, nullptr, L"#32770", nullptr);
        ASSERT_NE(form, nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(form, id); }
    void SelectFace(const wchar_t* face) {
        ASSERT_TRUE(SelectComboItem(form, IDC_FONT_COMBO, face)) << "no face " << face;
    }
    bool Checked(int id) const { return Send(Item(id), BM_GETCHECK) == BST_CHECKED; }
    // Presses a button that opens a file dialog and picks path in it; returns
    // once the button's handler is done (or shows a message box).
    void PressAndChoose(int button, const std::wstring& path) {
        ClickLater(Item(button));
        ASSERT_TRUE(ChooseFile(program, path));
    }
    // The program is done with what it was asked, and shows no message box.
    void ExpectNoMessage() { EXPECT_EQ(MessageBoxShown(program).box, nullptr); }

    Program program;
    HWND frame = nullptr;
    HWND form = nullptr;
};

} // namespace

TEST_F(WindowTest, ModelChoiceSetsTheCaptionOrEndsTheRunQuietly) {
    const struct {
        int button;
        const wchar_t* caption;
    } models[] = {{IDC_MODEL_COMPACT, L"QC150グリフキット"},
                  {IDC_MODEL_QW300, L"QW300グリフキット"},
                  {IDC_MODEL_QW400, L"QW400グリフキット"}};
    for (const auto& model : models) {
        Program run;
        HWND shown = ChooseModel(run, model.button);
        ASSERT_NE(shown, nullptr) << model.caption;
        EXPECT_EQ(Text(shown), model.caption);
    }
    // 終了 or the close box: status 0, and the main window never showed.
    for (bool closeBox : {false, true}) {
        Program run;
        HWND dialog = WaitForWindow(run, L"QC150/QW300/QW400グリフキット", L"#32770");
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(Send(GetDlgItem(dialog, IDC_MODEL_COMPACT), BM_GETCHECK) == BST_CHECKED);
        EXPECT_FALSE(HasVisibleWindow(run, L"GlyphkitFrame"));
        if (closeBox)
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        else
            Click(GetDlgItem(dialog, IDCANCEL));
        EXPECT_EQ(run.WaitForExit(), 0u) << "close box " << closeBox;
    }
}

TEST_F(WindowTest, FieldChecksAtTheirLimits) {
    Start();
    const std::wstring sizeMessage = L"指定したフォントサイズが不正です。";
    const std::wstring codeMessage = L"１バイト文字登録のコード設定が不正です。";
    const struct {
        int field;
        const wchar_t* typed;
        const std::wstring* message; // null: accepted
    } cases[] = {
        {IDC_POINT_SIZE, L"0", &sizeMessage},  {IDC_POINT_SIZE, L"1", nullptr},
        {IDC_POINT_SIZE, L"72", nullptr},      {IDC_POINT_SIZE, L"73", &sizeMessage},
        {IDC_CODE_START, L"31", &codeMessage}, {IDC_CODE_START, L"32", nullptr},
        {IDC_CODE_END, L"255", nullptr},       {IDC_CODE_END, L"256", &codeMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_wstring(c.field) + L" " + c.typed);
        TypeAndLeave(Item(c.field), c.typed);
        if (!c.message) {
            ExpectNoMessage();
            EXPECT_NE(FocusOf(form), Item(c.field));
            continue;
        }
        const MessageBoxSeen seen = MessageBoxShown(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, *c.message);
        Answer(seen.box, IDOK);
        EXPECT_EQ(FocusOf(form), Item(c.field));
        // Back to a good value before the next case leaves the field.
        TypeAndLeave(Item(c.field), c.field == IDC_POINT_SIZE ? L"10" : L"100");
    }
}

TEST_F(WindowTest, FontSelectionEnablesOrClearsTheRegistrationText) {
    Start();
    const int textControls[] = {IDC_REG_TEXT, IDC_TEXT_FILE, IDC_UNICODE_FILE};
    const struct {
        const wchar_t* face;
        bool takesText;
    } faces[] = {{kGothic, true},
                 {L"Liberation Sans", false},
                 {L"NanumGothic", true},
                 {L"DejaVu Sans", false},
                 {L"AR PL SungtiL GB", true}};
    for (const auto& f : faces) {
        SCOPED_TRACE(f.face);
        SetText(Item(IDC_REG_TEXT), L"あA");
        SelectFace(f.face);
        for (int id : textControls)
            EXPECT_EQ(IsWindowEnabled(Item(id)) != FALSE, f.takesText) << id;
        EXPECT_EQ(Text(Item(IDC_REG_TEXT)), f.takesText ? L"あA" : L"");
    }
}

TEST_F(WindowTest, SaveThenLoadRestoresTheForm) {
    Start(IDC_MODEL_QW400);
    const std::wstring path = TempPath(L"window_roundtrip.kfd");
    DeleteFileW(path.c_str());
    SetText(Item(IDC_REG_NAME), L"ROUNDTRIP");
    SelectFace((std::wstring(L"@") + kGothic).c_str());
    TypeAndLeave(Item(IDC_POINT_SIZE), L"12");
    Click(Item(IDC_BOLD));
    Click(Item(IDC_ITALIC));
    TypeAndLeave(Item(IDC_CODE_START), L"65");
    TypeAndLeave(Item(IDC_CODE_END), L"70");
    SetText(Item(IDC_REG_TEXT), L"漢字");
    PressAndChoose(IDC_SAVE, path);
    ExpectNoMessage();
    const std::vector<uint8_t> kfd = FileBytes(path);
    ASSERT_GT(kfd.size(), 152u);
    EXPECT_EQ(kfd[10 + 140] | kfd[10 + 141] << 8, 305); // the model's resolution
    EXPECT_EQ(kfd[10 + 72], 1);                         // vertical, from the "@" face
    EXPECT_EQ(kfd[10 + 136], 12);

    // Change everything, then load the file back.
    SetText(Item(IDC_REG_NAME), L"OTHER");
    SelectFace(kGothic);
    Click(Item(IDC_BOLD));
    TypeAndLeave(Item(IDC_CODE_START), L"40");
    SetText(Item(IDC_REG_TEXT), L"");
    PressAndChoose(IDC_LOAD, path);
    ExpectNoMessage();
    EXPECT_EQ(Text(Item(IDC_REG_NAME)), L"ROUNDTRIP");
    EXPECT_EQ(Text(Item(IDC_FONT_COMBO)), std::wstring(L"@") + kGothic);
    EXPECT_EQ(Text(Item(IDC_POINT_SIZE)), L"12");
    EXPECT_TRUE(Checked(IDC_BOLD));
    EXPECT_TRUE(Checked(IDC_ITALIC));
    EXPECT_EQ(Text(Item(IDC_CODE_START)), L"65");
    EXPECT_EQ(Text(Item(IDC_CODE_END)), L"70");
    EXPECT_EQ(Text(Item(IDC_REG_TEXT)), L"ABCDEF字漢"); // ascending codes
    DeleteFileW(path.c_str());
}

TEST_F(WindowTest, NamesThatDoNotFitThirtyTwoBytesAreRefused) {
    Start();
    SelectFace(kGothic);
    SetText(Item(IDC_REG_TEXT), L"A");
    const std::wstring path = TempPath(L"window_name.kfd");
    const std::wstring kana16(16, L'あ');
    const struct {
        std::wstring name;
        bool saved;
    } cases[] = {{L"A" + kana16, false}, // 33 bytes
                 {L"한글", false},       // not in code page 932
                 {L"A\U0001F600", false},
                 {kana16, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(path.c_str());
        SetText(Item(IDC_REG_NAME), c.name);
        if (c.saved) {
            PressAndChoose(IDC_SAVE, path);
            ExpectNoMessage();
            const std::vector<uint8_t> kfd = FileBytes(path);
            ASSERT_GT(kfd.size(), 152u);
            // All 32 bytes of the name field: 16 times 82 A0, no terminator.
            for (size_t i = 14; i < 46; i += 2)
                EXPECT_EQ(kfd[i] << 8 | kfd[i + 1], 0x82A0) << i;
            EXPECT_NE(kfd[46], 0); // the style text follows at once
            continue;
        }
        // Refused before the file dialog opens: no file is written.
        ClickLater(Item(IDC_SAVE));
        const MessageBoxSeen seen = MessageBoxShown(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, L"登録フォント名称は半角32文字（全角16文字）以内の、使用できる文字で"
                             L"指定してください。");
        Answer(seen.box, IDOK);
        EXPECT_EQ(FocusOf(form), Item(IDC_REG_NAME));
        EXPECT_TRUE(FileBytes(path).empty());
    }
    DeleteFileW(path.c_str());
}

TEST_F(WindowTest, LoadOfAFaceThatIsNotInstalledKeepsItAndItsCharacters) {
    Start();
    const std::wstring saved = TempPath(L"window_face.kfd");
    const std::wstring again = TempPath(L"window_face_again.kfd");
    DeleteFileW(saved.c_str()); // no question whether to replace it
    SetText(Item(IDC_REG_NAME), L"MISSING");
    SelectFace(kGothic);
    Click(Item(IDC_RANGE_ON)); // the characters come from the text alone
    SetText(Item(IDC_REG_TEXT), L"漢字한A");
    PressAndChoose(IDC_SAVE, saved);
    // The same file as made on a workstation with a face this one lacks.
    std::vector<uint8_t> kfd = FileBytes(saved);
    ASSERT_GT(kfd.size(), 152u);
    const char face[32] = "Gone Mincho";
    std::copy(face, face + 32, kfd.begin() + 10 + 104);
    std::ofstream(saved.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(kfd.data()), std::streamsize(kfd.size()));

    SelectFace(L"Liberation Sans"); // a face whose code page holds no kanji
    ClickLater(Item(IDC_LOAD));
    ASSERT_TRUE(ChooseFile(program, saved));
    const MessageBoxSeen seen = MessageBoxShown(program);
    ASSERT_NE(seen.box, nullptr);
    EXPECT_NE(seen.text.find(L"「Gone Mincho」"), std::wstring::npos) << seen.text;
    Answer(seen.box, IDOK);
    EXPECT_EQ(Text(Item(IDC_FONT_COMBO)), L"Gone Mincho");
    EXPECT_EQ(Text(Item(IDC_REG_TEXT)), L"A字漢"); // 한 was never in the file
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_REG_TEXT)));

    // Save builds exactly what the form shows: that face, its character set,
    // the file's characters.
    DeleteFileW(again.c_str());
    PressAndChoose(IDC_SAVE, again);
    ExpectNoMessage();
    const std::vector<uint8_t> resaved = FileBytes(again);
    ASSERT_GT(resaved.size(), 182u);
    EXPECT_EQ(std::string(resaved.begin() + 10 + 104, resaved.begin() + 10 + 115), "Gone Mincho");
    EXPECT_EQ(resaved[10 + 76], kfd[10 + 76]); // the file's character set
    ASSERT_EQ(resaved[10 + 60], 3);            // the file's three characters
    for (size_t record = 152; record < 182; record += 10)
        EXPECT_EQ(resaved[record] | resaved[record + 1] << 8, kfd[record] | kfd[record + 1] << 8);

    // Choosing an installed face takes the stand-in out of the list.
    const LRESULT faces = Send(Item(IDC_FONT_COMBO), CB_GETCOUNT);
    SelectFace(kGothic);
    EXPECT_EQ(Send(Item(IDC_FONT_COMBO), CB_GETCOUNT), faces - 1);
    EXPECT_EQ(Text(Item(IDC_FONT_COMBO)), kGothic);
    DeleteFileW(saved.c_str());
    DeleteFileW(again.c_str());
}

TEST_F(WindowTest, TextFilesUpToTheLimitAreTaken) {
    Start();
    SelectFace(kGothic);
    const std::wstring path = TempPath(L"window_text.txt");
    for (size_t size : {size_t(56320), size_t(56321)}) {
        SCOPED_TRACE(size);
        SetText(Item(IDC_REG_TEXT), L"before");
        // Lines of 64 characters, as a list of characters to register would be.
        std::string bytes;
        while (bytes.size() < size)
            bytes += bytes.size() % 66 == 64 ? "\r\n" : "A";
        bytes.resize(size);
        std::ofstream(path.c_str(), std::ios::binary) << bytes;
        PressAndChoose(IDC_TEXT_FILE, path);
        if (size == 56320) {
            ExpectNoMessage();
            EXPECT_EQ(Send(Item(IDC_REG_TEXT), WM_GETTEXTLENGTH), LRESULT(size));
            continue;
        }
        const MessageBoxSeen seen = MessageBoxShown(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, L"読み込む事ができる最大ファイルサイズを超えています。\n"
                             L"指定できるテキストファイルは55KBまでです。");
        Answer(seen.box, IDOK);
        EXPECT_TRUE(Text(Item(IDC_REG_TEXT)) == L"before");
    }
    DeleteFileW(path.c_str());
}

TEST_F(WindowTest, TextFilesEndAtTheirFirstZero) {
    Start();
    SelectFace(kGothic);
    const std::wstring path = TempPath(L"window_zero.txt");
    const struct {
        std::string bytes;
        bool unicode;
        const wchar_t* text;
    } cases[] = {{std::string("AB\0CD", 5), false, L"AB"},
                 {std::string("ABCD\0EF", 7), false, L"ABCD"},
                 {std::string("AB\0", 3), false, L"AB"},
                 {std::string("\0AB", 3), false, L""},
                 {std::string("A\0B\0\0\0C\0", 8), true, L"AB"},
                 {std::string("A\0\0\0", 4), true, L"A"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        if (Checked(IDC_UNICODE_FILE) != c.unicode)
            Click(Item(IDC_UNICODE_FILE));
        SetText(Item(IDC_REG_TEXT), L"before");
        std::ofstream(path.c_str(), std::ios::binary) << c.bytes;
        PressAndChoose(IDC_TEXT_FILE, path);
        ExpectNoMessage();
        EXPECT_EQ(Text(Item(IDC_REG_TEXT)), c.text);
    }
    DeleteFileW(path.c_str());
}

TEST_F(WindowTest, MenuDialogs) {
    Start();
    Command(frame, ID_APP_ABOUT);
    HWND about = WindowShown(program, L"バージョン情報", L"#32770");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(Text(GetDlgItem(about, IDC_ABOUT_VERSION)), L"Version 9.1.0.20");
    EXPECT_EQ(Text(GetDlgItem(about, IDC_ABOUT_DESCRIPTION)), L"QC150/QW300/QW400グリフキット");
    Click(GetDlgItem(about, IDOK));
    ASSERT_TRUE(WaitUntilGone(about));

    // The COM port dialog: twenty ports, the current one selected; OK keeps
    // the choice, Cancel does not.
    const struct {
        int pick;
        int button;
        int selectedNextTime;
    } steps[] = {{4, IDOK, 4}, {9, IDCANCEL, 4}, {0, IDOK, 0}};
    int selected = 0;
    for (const auto& step : steps) {
        Command(frame, ID_COMPORT);
        HWND dialog = WindowShown(program, L"COMポートの選択", L"#32770");
        ASSERT_NE(dialog, nullptr);
        HWND combo = GetDlgItem(dialog, IDC_COMPORT_COMBO);
        EXPECT_EQ(Send(combo, CB_GETCOUNT), 20);
        EXPECT_EQ(Send(combo, CB_GETCURSEL), selected);
        Send(combo, CB_SETCURSEL, WPARAM(step.pick));
        Click(GetDlgItem(dialog, step.button));
        selected = step.selectedNextTime;
        // Gone, and its choice taken, before the next one opens.
        ASSERT_TRUE(WaitUntilGone(dialog));
        ASSERT_TRUE(WaitUntilIdle(frame));
    }
}

TEST_F(WindowTest, FrameIsCentredAroundTheFormAndCtrlNKeepsTheSettings) {
    Start();
    RECT window, desktop;
    GetWindowRect(frame, &window);
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int width = window.right - window.left - 1;
    const int height = window.bottom - window.top - 1;
    EXPECT_EQ(window.left, desktop.right / 2 - width / 2);
    EXPECT_EQ(window.top, desktop.bottom / 2 - height / 2);
    // The whole form fits: no scroll bar shows.
    EXPECT_EQ(GetWindowLongW(form, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);

    const LRESULT faces = Send(Item(IDC_FONT_COMBO), CB_GETCOUNT);
    ASSERT_GT(faces, 10);
    SelectFace(kGothic);
    Click(Item(IDC_BOLD));
    SetText(Item(IDC_REG_TEXT), L"あ");
    Command(frame, ID_FILE_NEW);
    HWND again = ChooseModel(program, IDC_MODEL_QW300);
    ASSERT_EQ(again, frame);
    EXPECT_EQ(Text(frame), L"QW300グリフキット");
    EXPECT_EQ(Send(Item(IDC_FONT_COMBO), CB_GETCOUNT), faces);
    EXPECT_TRUE(Checked(IDC_BOLD));
    EXPECT_EQ(Text(Item(IDC_FONT_COMBO)), kGothic);
    EXPECT_EQ(Text(Item(IDC_REG_TEXT)), L"あ");
    RECT after;
    GetWindowRect(frame, &after);
    EXPECT_TRUE(EqualRect(&window, &after));
}

TEST_F(WindowTest, PreviewShowsTheSampleInYellowOnNearBlack) {
    Start();
    SelectFace(kGothic);
    // Pixels of the ground, and of ink: yellow, or its anti-aliased edge.
    const auto count = [&](bool ink) {
        RECT area;
        const std::vector<COLORREF> pixels = Capture(Item(IDC_PREVIEW), &area);
        size_t n = 0;
        for (COLORREF p : pixels)
            n += ink ? GetRValue(p) > 128 && GetGValue(p) > 128 && GetBValue(p) < 64
                     : p == RGB(20, 20, 20);
        return n;
    };
    const size_t regular = count(true);
    EXPECT_GT(count(false), regular);
    EXPECT_GT(regular, 100u);
    Click(Item(IDC_BOLD));
    // Bold strokes are wider: more ink.
    EXPECT_GT(count(true), regular);
}

// The registration check as a person sees it: the sheet on the screen in
// black ink that grows with the zoom, the window grows with its sheet and
// keeps its buttons in the corner, and never shrinks below its template.
TEST_F(WindowTest, RegistrationCheckShowsItsSheetAndFollowsItsSize) {
    Start();
    SetText(Item(IDC_REG_NAME), L"CHECK");
    SelectFace(kGothic);
    Click(Item(IDC_RANGE_ON));
    SetText(Item(IDC_REG_TEXT), L"AB");
    Command(frame, ID_CHECK_REGISTRATION);
    HWND dialog = WindowShown(program, L"登録内容の確認", L"#32770");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), frame);
    EXPECT_FALSE(IsWindowEnabled(frame)); // modal
    HWND sheet = GetDlgItem(dialog, IDC_CHECK_SHEET);
    const auto ink = [&](const wchar_t* zoom) {
        EXPECT_TRUE(SelectComboItem(dialog, IDC_CHECK_ZOOM, zoom));
        RECT area;
        size_t n = 0;
        for (COLORREF p : Capture(sheet, &area))
            n += p == RGB(0, 0, 0);
        return n;
    };
    const size_t one = ink(L"1");
    const size_t eight = ink(L"8");
    EXPECT_GT(one, 50u);
    EXPECT_GT(eight, 4 * one);

    const auto rect = [](HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        return r;
    };
    const RECT window = rect(dialog), sheetBefore = rect(sheet);
    const RECT closeBefore = rect(GetDlgItem(dialog, IDOK));
    const int width = window.right - window.left, height = window.bottom - window.top;
    SetWindowPos(dialog, nullptr, 0, 0, width + 200, height + 100, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(WaitUntilIdle(dialog));
    const RECT sheetAfter = rect(sheet), closeAfter = rect(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(sheetAfter.right - sheetAfter.left, sheetBefore.right - sheetBefore.left + 200);
    EXPECT_EQ(sheetAfter.bottom - sheetAfter.top, sheetBefore.bottom - sheetBefore.top + 100);
    EXPECT_EQ(closeAfter.left - closeBefore.left, 200);
    EXPECT_EQ(closeAfter.top - closeBefore.top, 100);
    SetWindowPos(dialog, nullptr, 0, 0, width - 100, height - 100, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(WaitUntilIdle(dialog));
    const RECT smallest = rect(dialog);
    EXPECT_EQ(smallest.right - smallest.left, width);
    EXPECT_EQ(smallest.bottom - smallest.top, height);

    Click(GetDlgItem(dialog, IDOK));
    EXPECT_TRUE(WaitUntilGone(dialog));
    ASSERT_TRUE(WaitUntilIdle(frame));
    EXPECT_TRUE(IsWindowEnabled(frame));
}
