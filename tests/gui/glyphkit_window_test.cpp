// Glyphkit.exe under Xvfb, driven from outside as a person uses it: the
// model choice, the field checks, font selection, Save and Load through their
// file dialogs, text files, the menu's dialogs, Ctrl+N and the frame's size.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/control_ids.h"
#include "res/registration_check_ids.h"
#include "tools/gui_driver/gui_driver.h"
#include "tools/gui_driver/loopback_port.h"

using namespace gui;

namespace {

const wchar_t kGothic[] = L"IPAゴシック";

std::vector<uint8_t> FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The memory the program holds of its own.
uint64_t PrivateBytes(const Program& program) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.Id());
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    return counters.PagefileUsage;
}

// The temporary files that saves of the check's image write beside the file
// chosen, in the folder of TempPath.
size_t SaveLeftovers() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(TempPath(L"gk*.tmp").c_str(), &found);
    size_t n = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        ++n;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return n;
}

// Polls until done() holds or about ten seconds have passed.
template <class Done> bool Until(Done done, int seconds = 10) {
    for (int waited = 0; !done() && waited < seconds * 1000; waited += 20)
        Sleep(20);
    return done();
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
        {IDC_POINT_SIZE, L"0", &sizeMessage},
        {IDC_POINT_SIZE, L"1", nullptr},
        {IDC_POINT_SIZE, L"72", nullptr},
        {IDC_POINT_SIZE, L"73", &sizeMessage},
        {IDC_CODE_START, L"31", &codeMessage},
        {IDC_CODE_START, L"32", nullptr},
        {IDC_CODE_END, L"255", nullptr},
        {IDC_CODE_END, L"256", &codeMessage},
        // Full-width digits and spaces, as an IME gives them, read as shown.
        {IDC_POINT_SIZE, L"１２", nullptr},
        {IDC_POINT_SIZE, L"７３", &sizeMessage},
        {IDC_CODE_START, L"　４０", nullptr},
        {IDC_CODE_END, L"２００", nullptr},
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

TEST_F(WindowTest, APasteIntoTheIdFieldIsTakenWholeOrNotAtAll) {
    Start();
    const std::wstring a32(32, L'A'), kana16(16, L'あ');
    const struct {
        int field;
        const wchar_t* before;
        int selectedFrom, selectedTo;
        std::wstring pasted;
        std::wstring after;
    } cases[] = {{IDC_REG_ID, L"", 0, 0, L"007", L""},
                 {IDC_REG_ID, L"", 0, 0, L"100", L""},
                 {IDC_REG_ID, L"1", 1, 1, L"23", L"1"},
                 {IDC_REG_ID, L"12", 0, 2, L"345", L"12"},
                 {IDC_REG_ID, L"", 0, 0, L"07", L"07"},
                 {IDC_REG_ID, L"1", 1, 1, L"5", L"15"},
                 {IDC_REG_ID, L"12", 0, 2, L"34", L"34"},
                 {IDC_REG_ID, L"", 0, 0, L"7\r\n123", L"7"},
                 {IDC_REG_ID, L"", 0, 0, L"12\r\n", L"12"},
                 // The name's limit is its 32 bytes in the header.
                 {IDC_REG_NAME, L"KEEP", 0, 4, a32 + L"A", L"KEEP"},
                 {IDC_REG_NAME, L"KEEP", 0, 4, kana16 + L"あ", L"KEEP"},
                 {IDC_REG_NAME, L"K", 1, 1, kana16, L"K"},
                 {IDC_REG_NAME, L"KEEP", 0, 4, a32, a32},
                 {IDC_REG_NAME, L"KEEP", 0, 4, kana16, kana16}};
    // A refused name says its limit in a balloon on the field, no box.
    const std::wstring nameTip = L"登録名称に入るのは半角32文字（全角16文字）までです。";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        SetText(Item(c.field), c.before);
        Send(Item(c.field), EM_SETSEL, WPARAM(c.selectedFrom), LPARAM(c.selectedTo));
        Paste(Item(c.field), c.pasted);
        EXPECT_EQ(Text(Item(c.field)), c.after);
        const bool tipped = c.field == IDC_REG_NAME && c.after != c.pasted;
        HWND tip = WindowShown(program, nullptr, L"tooltips_class32");
        EXPECT_EQ(tip ? Text(tip) : L"", tipped ? nameTip : L"");
        ExpectNoMessage();
        Send(Item(c.field), WM_KEYDOWN, VK_END, 0); // the next key takes the balloon away
    }
}

// A size or code field is read as it shows at every command that reads it:
// text that is not a plain number in range gets its message, the focus goes
// back to it, and nothing is built from the value it held before.
TEST_F(WindowTest, FieldsThatShowNoPlainNumberStopTheCommands) {
    Start();
    SetText(Item(IDC_REG_NAME), L"FIELDS");
    SelectFace(kGothic);
    SetText(Item(IDC_REG_TEXT), L"AB");
    SetText(Item(IDC_REG_ID), L"1");
    const std::wstring sizeMessage = L"指定したフォントサイズが不正です。";
    const std::wstring codeMessage = L"１バイト文字登録のコード設定が不正です。";
    const struct {
        int field;
        const wchar_t* shown;
        bool pasted; // else set while another control has the focus
        int command; // a button of the form, or a menu command
        const std::wstring* message;
    } cases[] = {{IDC_POINT_SIZE, L"20x", true, IDC_SAVE, &sizeMessage},
                 {IDC_POINT_SIZE, L"1e3", true, ID_CHECK_REGISTRATION, &sizeMessage},
                 {IDC_POINT_SIZE, L"12\t", true, IDC_SAVE, &sizeMessage},
                 {IDC_POINT_SIZE, L"20x", false, IDC_DOWNLOAD, &sizeMessage},
                 {IDC_CODE_START, L"70x", true, IDC_SAVE, &codeMessage},
                 {IDC_CODE_END, L"70x", false, ID_CHECK_REGISTRATION, &codeMessage},
                 {IDC_CODE_END, L"1e3", false, IDC_DOWNLOAD, &codeMessage}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_wstring(c.field) + L" " + c.shown);
        const wchar_t* accepted = c.field == IDC_POINT_SIZE ? L"24" : L"100";
        TypeAndLeave(Item(c.field), accepted);
        if (c.pasted) {
            Click(Item(c.field));
            Send(Item(c.field), EM_SETSEL, 0, -1);
            Paste(Item(c.field), c.shown);
        } else {
            SetText(Item(c.field), c.shown);
            Click(Item(IDC_REG_NAME));
        }
        if (c.command == ID_CHECK_REGISTRATION)
            Command(frame, c.command);
        else
            ClickLater(Item(c.command));
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, *c.message);
        Answer(seen.box, IDOK);
        // Said once, and nothing opened after it: no file dialog, no check
        // window, no download.
        ExpectNoMessage();
        EXPECT_EQ(WindowShown(program, nullptr, L"#32770"), nullptr);
        EXPECT_EQ(FocusOf(form), Item(c.field));
        TypeAndLeave(Item(c.field), accepted);
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
    const std::wstring unfit = L"登録フォント名称は半角32文字（全角16文字）以内の、使用できる文字で"
                               L"指定してください。";
    const std::wstring blank = L"登録フォント名称が不正です。";
    const struct {
        std::wstring name;
        bool saved;
        const std::wstring* message = nullptr;
    } cases[] = {{L"A" + kana16, false, &unfit},  // 33 bytes
                 {L"한글", false, &unfit},        // not in code page 932
                 {L"A\U0001F600", false, &unfit}, // nor is this
                 {L"A\tB", false, &unfit},        // control characters, typed, pasted or loaded
                 {L"\x1b", false, &unfit},        // ESC
                 {L"   ", false, &blank},         // spaces name nothing
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
        EXPECT_EQ(seen.text, *c.message);
        Answer(seen.box, IDOK);
        if (c.message == &unfit) {
            EXPECT_EQ(FocusOf(form), Item(IDC_REG_NAME));
        }
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

// Face names from a file: one cut inside its last character is shown as far
// as its field goes; one that differs from an installed face only in case is
// that face; an empty one is refused as damaged and changes nothing.
TEST_F(WindowTest, FaceNamesFromAFile) {
    Start();
    const std::wstring path = TempPath(L"window_faces.kfd");
    SetText(Item(IDC_REG_NAME), L"FACES");
    SelectFace(kGothic);
    SetText(Item(IDC_REG_TEXT), L"A");
    PressAndChoose(IDC_SAVE, path);
    const std::vector<uint8_t> saved = FileBytes(path);
    ASSERT_GT(saved.size(), 152u);
    const auto load = [&](const std::string& face) {
        std::vector<uint8_t> kfd = saved;
        std::fill(kfd.begin() + 114, kfd.begin() + 146, 0);
        std::copy(face.begin(), face.end(), kfd.begin() + 114);
        std::ofstream(path.c_str(), std::ios::binary)
            .write(reinterpret_cast<const char*>(kfd.data()), std::streamsize(kfd.size()));
        PressAndChoose(IDC_LOAD, path);
        return WaitForMessageBox(program, L"実行結果", 300);
    };
    HWND combo = Item(IDC_FONT_COMBO);
    const LRESULT faces = Send(combo, CB_GETCOUNT);
    const std::string vanished = "\x8F\xC1\x82\xA6\x82\xBD\x8F\x91\x91\xCC"; // 消えた書体
    MessageBoxSeen seen = load("A" + vanished + vanished + vanished + "\x8F");
    ASSERT_NE(seen.box, nullptr);
    EXPECT_NE(seen.text.find(L"「A消えた書体消えた書体消えた書体」"), std::wstring::npos);
    Answer(seen.box, IDOK);
    EXPECT_EQ(Text(combo), L"A消えた書体消えた書体消えた書体");

    EXPECT_EQ(load("ipa\x83\x53\x83\x56\x83\x62\x83\x4e").box, nullptr); // ipaゴシック
    EXPECT_EQ(Text(combo), kGothic);
    SelectFace(L"Liberation Sans");
    EXPECT_EQ(Send(combo, CB_GETCOUNT), faces); // IPAゴシック stays listed

    SetText(Item(IDC_REG_NAME), L"KEPT");
    seen = load("");
    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.text, L"ダウンロードフォントファイルの読み込みに失敗しました。");
    Answer(seen.box, IDOK);
    EXPECT_EQ(Text(Item(IDC_REG_NAME)), L"KEPT");
    EXPECT_EQ(Text(combo), L"Liberation Sans");
    DeleteFileW(path.c_str());
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

// A byte-order mark decides what the file holds and is no character;
// without one the Unicode box decides: off, valid UTF-8 with a character of
// more bytes is UTF-8, else the code page; on, a file that may not be UTF-16
// is read only when the operator says so. The text ends at its first zero,
// with a word that says where; a zero before any character leaves the box as
// it was.
TEST_F(WindowTest, TextFilesEndAtTheirFirstZero) {
    Start();
    SelectFace(kGothic);
    const std::wstring path = TempPath(L"window_zero.txt");
    const std::string utf8 = "\xEF\xBB\xBF"; // the marks
    const std::string le = "\xFF\xFE", be = "\xFE\xFF";
    const std::string kanji = "\xE6\xBC\xA2\xE5\xAD\x97"; // 漢字 in UTF-8
    const std::wstring zeroFirst =
        L"テキストファイルの先頭にNUL文字（0x00）があるため、読み込む文字が"
        L"ありません。\nファイルの文字コードを確認してください。";
    const auto cutAfter = [](int n) {
        return L"テキストファイルの途中にNUL文字（0x00）があるため、その前の" + std::to_wstring(n) +
               L"文字までを読み込みました。";
    };
    const std::wstring cut2 = cutAfter(2), cut4 = cutAfter(4);
    const std::wstring ask = L"ではない可能性があります。\nUnicodeファイルとして読み込みますか？";
    const std::wstring odd =
        L"このテキストファイルは長さが奇数バイトのため、Unicode（UTF-16）" + ask;
    const std::wstring asUtf8 =
        L"このテキストファイルはUTF-8として読めるため、Unicode（UTF-16）" + ask;
    const struct {
        std::string bytes;
        bool unicode;
        const wchar_t* text;
        const std::wstring* message = nullptr;
        int answer = IDOK;
    } cases[] = {{std::string("AB\0CD", 5), false, L"AB", &cut2},
                 {std::string("ABCD\0EF", 7), false, L"ABCD", &cut4},
                 {std::string("AB\0", 3), false, L"AB"},
                 {std::string("\0AB", 3), false, L"before", &zeroFirst},
                 {std::string("A\0B\0\0\0C\0", 8), true, L"AB", &cut2},
                 {std::string("A\0\0\0", 4), true, L"A"},
                 {kanji + "A", false, L"漢字A"},
                 {"\x8A\xBF\x8E\x9A", false, L"漢字"}, // code page 932
                 {std::string("A\0B", 3), true, L"AB", &odd, IDYES},
                 {kanji, true, L"before", &asUtf8, IDNO},
                 {utf8 + kanji + "A", false, L"漢字A"},
                 {utf8 + kanji + "A", true, L"漢字A"},
                 {utf8 + std::string("AB\0CD", 5), false, L"AB", &cut2},
                 {le + std::string("A\0\x42\x30", 4), true, L"Aあ"},
                 {le + std::string("A\0\x42\x30", 4), false, L"Aあ"},
                 {be + std::string("\0A\x30\x42", 4), true, L"Aあ"},
                 {be + std::string("\0\0\0A", 4), false, L"before", &zeroFirst}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        if (Checked(IDC_UNICODE_FILE) != c.unicode)
            Click(Item(IDC_UNICODE_FILE));
        SetText(Item(IDC_REG_TEXT), L"before");
        std::ofstream(path.c_str(), std::ios::binary) << c.bytes;
        PressAndChoose(IDC_TEXT_FILE, path);
        if (c.message) {
            const MessageBoxSeen seen = MessageBoxShown(program);
            ASSERT_NE(seen.box, nullptr);
            EXPECT_EQ(seen.text, *c.message);
            Answer(seen.box, c.answer);
        }
        ExpectNoMessage();
        EXPECT_EQ(Text(Item(IDC_REG_TEXT)), c.text);
    }
    DeleteFileW(path.c_str());
}

// The characters box holds what a text file may bring (55 KB): a paste or
// typing beyond it is refused at once with the text file's message, and the
// box keeps its text.
TEST_F(WindowTest, TheCharactersBoxHoldsWhatCanBeRegistered) {
    Start();
    SelectFace(kGothic);
    HWND box = Item(IDC_REG_TEXT);
    const std::wstring tooLarge = L"読み込む事ができる最大ファイルサイズを超えています。\n"
                                  L"指定できるテキストファイルは55KBまでです。";
    // A paste is told as a paste, not as a file.
    const std::wstring pasteTooLarge = L"貼り付ける文字が多すぎるため、貼り付けませんでした。\n"
                                       L"登録文字入力に入るのは56320文字（テキストファイルの"
                                       L"上限55KB）までです。";
    const std::wstring full(56320, L'A');
    const struct {
        std::wstring before;
        std::wstring pasted; // empty: one character typed at the end
        std::wstring after;
        const std::wstring* message;
    } cases[] = {{L"", std::wstring(200000, L'B'), L"", &pasteTooLarge},
                 {L"AB", std::wstring(56319, L'B'), L"AB", &pasteTooLarge},
                 {full, L"", full, &tooLarge}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted.size());
        SetText(box, c.before);
        Click(box);
        Send(box, EM_SETSEL, WPARAM(-1), WPARAM(-1));
        if (c.pasted.empty())
            PostMessageW(box, WM_CHAR, L'C', 0x002E0001);
        else
            PasteLater(box, c.pasted);
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, *c.message);
        Answer(seen.box, IDOK);
        EXPECT_TRUE(Text(box) == c.after);
    }
}

// Folders and names outside the code page: Save, Load and the text-file
// input reach them; a path beyond what the file dialog takes is refused with
// a word. A failure names the file and the system's reason.
TEST_F(WindowTest, AnyPathAndFailuresThatSayWhy) {
    Start();
    SetText(Item(IDC_REG_NAME), L"PATHS");
    SelectFace(kGothic);
    Click(Item(IDC_RANGE_ON));
    std::wstring deep = TempPath(L"window_paths");
    CreateDirectoryW(deep.c_str(), nullptr);
    CreateDirectoryW((deep + L"\\Jos\u00e9e").c_str(), nullptr);
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(40, L'd');
        CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    }
    const std::wstring folder = TempPath(L"window_paths");
    const std::wstring paths[] = {folder + L"\\Jos\u00e9e\\a", folder + L"\\\u7d75\U0001F600"};
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(path.size());
        DeleteFileW((path + L".kfd").c_str()); // no question whether to replace it
        SetText(Item(IDC_REG_TEXT), L"\u6f22");
        PressAndChoose(IDC_SAVE, path + L".kfd");
        ExpectNoMessage();
        SetText(Item(IDC_REG_TEXT), L"");
        PressAndChoose(IDC_LOAD, path + L".kfd");
        ExpectNoMessage();
        EXPECT_EQ(Text(Item(IDC_REG_TEXT)), L"\u6f22");
        std::ofstream((path + L".txt").c_str(), std::ios::binary) << "\xEF\xBB\xBF\xE5\xAD\x97";
        PressAndChoose(IDC_TEXT_FILE, path + L".txt");
        ExpectNoMessage();
        EXPECT_EQ(Text(Item(IDC_REG_TEXT)), L"\u5b57");
    }
    // A path the file dialog cannot take is refused over it.
    for (int button : {IDC_SAVE, IDC_LOAD, IDC_TEXT_FILE}) {
        ClickLater(Item(button));
        HWND dialog = ChooseFileLater(program, deep + L"\\long.kfd");
        ASSERT_NE(dialog, nullptr);
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text,
                  L"ファイルのパスが長すぎます。\nフォルダを含めて259文字以内で指定してください。");
        Answer(seen.box, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitUntilGone(dialog));
    }

    // A read-only target, a text file held open elsewhere.
    const std::wstring readOnly = folder + L"\\ro.kfd", held = folder + L"\\held.txt";
    std::ofstream(readOnly.c_str()) << "old";
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    std::ofstream(held.c_str()) << "A";
    HANDLE holding = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const auto reason = [](DWORD error) {
        wchar_t text[512] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, 512, nullptr);
        std::wstring line = text;
        while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
            line.pop_back();
        return line;
    };
    const struct {
        int button;
        std::wstring path;
        std::wstring message;
    } failures[] = {
        {IDC_SAVE, readOnly,
         L"ダウンロードフォントファイルの生成に失敗しました。\n" + readOnly + L"\n" +
             reason(ERROR_ACCESS_DENIED)},
        {IDC_TEXT_FILE, held,
         L"テキストファイルの読み込みに失敗しました。\n" + held + L"\n" +
             reason(ERROR_SHARING_VIOLATION)},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.path);
        SetText(Item(IDC_REG_TEXT), L"A");
        ClickLater(Item(f.button));
        HWND dialog = ChooseFileLater(program, f.path);
        ASSERT_NE(dialog, nullptr);
        // Save's dialog asks whether to replace the file: yes.
        HWND replace = nullptr;
        if (f.button == IDC_SAVE && Until([&]() {
                replace = WaitForWindow(program, nullptr, L"#32770", 0);
                return replace && GetDlgItem(replace, IDYES);
            }))
            Answer(replace, IDYES);
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, f.message);
        Answer(seen.box, IDOK);
    }
    CloseHandle(holding);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileBytes(readOnly), std::vector<uint8_t>({'o', 'l', 'd'}));
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

// The network printer dialog: a bad address or port is refused with its
// message, the focus back in its field; 接続テスト where nothing listens names
// the address typed; Cancel changes nothing, OK names the printer in the
// column and in the dialog next time, and a COM port goes back to the line
// while the dialog still offers the printer chosen last.
TEST_F(WindowTest, NetworkPrinterDialog) {
    Start();
    HWND column = Item(IDC_PRINTER_ADDRESS);
    EXPECT_EQ(Text(column), L"COM1");
    const auto open = [&](const wchar_t* host, const wchar_t* port) {
        Command(frame, ID_NETWORK_PRINTER);
        HWND dialog = WindowShown(program, L"ネットワークプリンタの設定", L"#32770");
        EXPECT_NE(dialog, nullptr);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_NET_HOST)), host);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_NET_PORT)), port);
        return dialog;
    };
    HWND dialog = open(L"", L"9100");
    ASSERT_NE(dialog, nullptr);
    // A port of this machine that is taken and where nothing listens.
    const LoopbackPort closed(false);
    const std::wstring closedPort = closed.Port();

    const std::wstring badHost =
        L"プリンタのアドレスが正しくありません。\nホスト名、IPv4アドレスまたは"
        L"IPv6アドレスを入力してください。";
    const std::wstring badPort = L"ポート番号は1～65535の範囲で指定してください。";
    const std::wstring refused = L"プリンタ 127.0.0.1:" + closedPort +
                                 L" に接続できませんでした。接続を拒否されました。\n"
                                 L"アドレスとポート番号を確認してください。";
    const struct {
        const wchar_t* host;
        std::wstring port;
        int button;
        const std::wstring* message;
        int field; // where the focus goes back, 0 for none
    } cases[] = {
        {L"", L"9100", IDOK, &badHost, IDC_NET_HOST},
        {L"label printer", L"9100", IDOK, &badHost, IDC_NET_HOST},
        {L"[fe80::1", L"9100", IDC_NET_TEST, &badHost, IDC_NET_HOST},
        {L"127.1", L"9100", IDOK, &badHost, IDC_NET_HOST},
        {L"0177.0.0.1", L"9100", IDC_NET_TEST, &badHost, IDC_NET_HOST},
        {L"192.168.0.21", L"0", IDOK, &badPort, IDC_NET_PORT},
        {L"192.168.0.21", L"65536", IDC_NET_TEST, &badPort, IDC_NET_PORT},
        {L"192.168.0.21", L"", IDOK, &badPort, IDC_NET_PORT},
        {L"127.0.0.1", closedPort, IDC_NET_TEST, &refused, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.host) + L" " + c.port);
        SetText(GetDlgItem(dialog, IDC_NET_HOST), c.host);
        SetText(GetDlgItem(dialog, IDC_NET_PORT), c.port);
        ClickLater(GetDlgItem(dialog, c.button));
        // The test's refusal comes from its own thread, after the dialog
        // has gone idle.
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, *c.message);
        Answer(seen.box, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        if (c.field) {
            EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, c.field));
        }
    }
    Click(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitUntilGone(dialog));
    EXPECT_EQ(Text(column), L"COM1");

    dialog = open(L"", L"9100");
    SetText(GetDlgItem(dialog, IDC_NET_HOST), L" [fe80::21] ");
    SetText(GetDlgItem(dialog, IDC_NET_PORT), L"9101");
    Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(WaitUntilGone(dialog));
    ASSERT_TRUE(WaitUntilIdle(frame));
    EXPECT_EQ(Text(column), L"[fe80::21]:9101");
    Click(GetDlgItem(open(L"fe80::21", L"9101"), IDCANCEL));

    Command(frame, ID_COMPORT);
    HWND ports = WindowShown(program, L"COMポートの選択", L"#32770");
    ASSERT_NE(ports, nullptr);
    Send(GetDlgItem(ports, IDC_COMPORT_COMBO), CB_SETCURSEL, 2);
    Click(GetDlgItem(ports, IDOK));
    ASSERT_TRUE(WaitUntilGone(ports));
    ASSERT_TRUE(WaitUntilIdle(frame));
    EXPECT_EQ(Text(column), L"COM3");
    // The printer chosen last in this run is offered again.
    Click(GetDlgItem(open(L"fe80::21", L"9101"), IDCANCEL));
}

// Keys pressed while the window waits for a printer that takes the
// connection and never answers answer nothing later: the window takes them
// as they come, and the result's message stays up until it is answered.
TEST_F(WindowTest, KeysPressedDuringAPrinterWaitAnswerNothing) {
    Start();
    const LoopbackPort silent(true);
    const std::wstring printer = L"127.0.0.1:" + silent.Port();
    Command(frame, ID_NETWORK_PRINTER);
    HWND dialog = WindowShown(program, L"ネットワークプリンタの設定", L"#32770");
    ASSERT_NE(dialog, nullptr);
    SetText(GetDlgItem(dialog, IDC_NET_HOST), L"127.0.0.1");
    SetText(GetDlgItem(dialog, IDC_NET_PORT), silent.Port());
    const struct {
        HWND button;
        std::wstring message;
    } cases[] = {{GetDlgItem(dialog, IDC_NET_TEST),
                  L"プリンタ " + printer +
                      L" に接続できましたが、プリンタの状態を取得できませんでした。\n"
                      L"アドレスとポート番号がプリンタのものか確認してください。"},
                 {Item(IDC_GET_INFO), L"取得に失敗しました。\nプリンタ " + printer +
                                          L" から時間内に応答がありませんでした。"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        if (c.button == Item(IDC_GET_INFO)) {
            Click(GetDlgItem(dialog, IDOK));
            ASSERT_TRUE(WaitUntilGone(dialog));
        }
        // A click and two keys as the hardware gives them: the keys wait in
        // the input queue behind the click until the window takes input.
        RECT r;
        GetWindowRect(c.button, &r);
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        INPUT inputs[7] = {};
        for (int i = 0; i < 3; ++i) {
            inputs[i].type = INPUT_MOUSE;
            inputs[i].mi.dx = LONG((r.left + r.right) / 2 * 65535 / (width - 1));
            inputs[i].mi.dy = LONG((r.top + r.bottom) / 2 * 65535 / (height - 1));
            inputs[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | (i == 0   ? MOUSEEVENTF_MOVE
                                                           : i == 1 ? MOUSEEVENTF_LEFTDOWN
                                                                    : MOUSEEVENTF_LEFTUP);
        }
        for (int i = 3; i < 7; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = i < 5 ? VK_ESCAPE : VK_RETURN;
            inputs[i].ki.dwFlags = i % 2 == 0 ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(7, inputs, sizeof(INPUT));
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, c.message);
        Answer(seen.box, IDOK);
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

// A menu command or an accelerator leaves the focus in the field being
// typed: the command takes the field as it shows, its check speaks once, and
// whatever the command opens keeps the main window disabled.
TEST_F(WindowTest, CommandsTakeTheFieldBeingTyped) {
    Start();
    SetText(Item(IDC_REG_NAME), L"TYPED");
    SelectFace(kGothic);
    Click(Item(IDC_RANGE_ON));
    SetText(Item(IDC_REG_TEXT), L"AB");
    const auto typeAndStay = [&](const wchar_t* text) {
        Click(Item(IDC_POINT_SIZE));
        SetText(Item(IDC_POINT_SIZE), text);
    };
    const auto windows = [&](const wchar_t* caption) {
        WaitUntilIdle(frame);
        int n = 0;
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            n += IsWindowVisible(w) && Text(w) == caption;
        return n;
    };
    for (int command : {ID_CHECK_REGISTRATION, ID_COMPORT, ID_FILE_NEW}) {
        SCOPED_TRACE(command);
        typeAndStay(L"0");
        Command(frame, command);
        const MessageBoxSeen seen = WaitForMessageBox(program);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(seen.text, L"指定したフォントサイズが不正です。");
        Answer(seen.box, IDOK);
        EXPECT_EQ(windows(L"実行結果"), 0); // said once
        EXPECT_EQ(windows(L"登録内容の確認") + windows(L"COMポートの選択") +
                      windows(L"QC150/QW300/QW400グリフキット"),
                  0);
        EXPECT_TRUE(IsWindowEnabled(frame));
        EXPECT_EQ(FocusOf(form), Item(IDC_POINT_SIZE));
    }

    // The cell of the check at 10 points, then at 24 typed over it.
    const auto checkedCell = [&]() {
        Command(frame, ID_CHECK_REGISTRATION);
        HWND dialog = WaitForWindow(program, L"登録内容の確認", L"#32770");
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return std::wstring();
        const std::wstring cell = Text(GetDlgItem(dialog, IDC_CHECK_CELL));
        Command(frame, ID_CHECK_REGISTRATION); // meets the open one: nothing more
        EXPECT_EQ(windows(L"登録内容の確認"), 1);
        EXPECT_FALSE(IsWindowEnabled(frame));
        Click(GetDlgItem(dialog, IDOK));
        for (int waited = 0; IsWindow(dialog) && waited < 5000; waited += 20)
            Sleep(20);
        return cell;
    };
    TypeAndLeave(Item(IDC_POINT_SIZE), L"10");
    const std::wstring at10 = checkedCell();
    typeAndStay(L"24");
    const std::wstring at24 = checkedCell();
    EXPECT_NE(at24, at10);
    TypeAndLeave(Item(IDC_POINT_SIZE), L"24");
    EXPECT_EQ(checkedCell(), at24);

    // Ctrl+N keeps the form as it shows, what is still being typed too.
    SetText(Item(IDC_REG_ID), L"07");
    typeAndStay(L"30");
    Command(frame, ID_FILE_NEW);
    ASSERT_EQ(ChooseModel(program, IDC_MODEL_COMPACT), frame);
    EXPECT_EQ(Text(Item(IDC_POINT_SIZE)), L"30");
    EXPECT_EQ(Text(Item(IDC_REG_ID)), L"07");
    EXPECT_EQ(Text(Item(IDC_REG_NAME)), L"TYPED");
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

// The registration check of 1500 characters at 72 points on the 305-dpi
// model: a save of its image runs with its progress while the window answers;
// an image over 256 MB is saved only when the operator agrees to its size;
// Esc stops a save and leaves the window, closing the window stops it too,
// and neither leaves a file; the memory the window took goes back with it.
TEST_F(WindowTest, RegistrationCheckSavesItsImageWhileTheWindowAnswers) {
    Start(IDC_MODEL_QW400);
    SetText(Item(IDC_REG_NAME), L"LARGE");
    SelectFace(kGothic);
    TypeAndLeave(Item(IDC_POINT_SIZE), L"72");
    Click(Item(IDC_RANGE_ON));
    SetText(Item(IDC_REG_TEXT), Kanji(1500));
    const uint64_t before = PrivateBytes(program);
    const size_t leftovers = SaveLeftovers();
    Command(frame, ID_CHECK_REGISTRATION);
    HWND dialog = WaitForWindow(program, L"登録内容の確認", L"#32770", 60000);
    ASSERT_NE(dialog, nullptr);
    HWND progress = GetDlgItem(dialog, IDC_CHECK_SAVE_PROGRESS);
    HWND saveButton = GetDlgItem(dialog, IDC_CHECK_SAVE_IMAGE);
    const std::wstring path = TempPath(L"window_check_large.bmp");
    DeleteFileW(path.c_str());
    // Saves at a zoom and answers the question about the size; the byte
    // count it named, 0 when none came.
    const auto save = [&](const wchar_t* zoom, int answer) -> uint64_t {
        EXPECT_TRUE(SelectComboItem(dialog, IDC_CHECK_ZOOM, zoom));
        ClickLater(saveButton);
        EXPECT_NE(ChooseFileLater(program, path), nullptr);
        if (!answer)
            return 0;
        const MessageBoxSeen seen = WaitForMessageBox(program);
        EXPECT_NE(seen.box, nullptr);
        const size_t at = seen.text.find(L"（"), end = seen.text.find(L"byte）");
        EXPECT_EQ(seen.text.rfind(L"画像ファイルは", 0), 0u) << seen.text;
        EXPECT_NE(end, std::wstring::npos) << seen.text;
        AnswerLater(seen.box, answer); // the save runs on between the window's messages
        return at < end ? std::stoull(seen.text.substr(at + 1, end - at - 1)) : 0;
    };
    const auto saving = [&]() { return IsWindowVisible(progress) != FALSE; };

    EXPECT_GT(save(L"8", IDNO), 256u * 1024 * 1024);
    EXPECT_FALSE(saving());
    EXPECT_FALSE(Exists(path));

    save(L"8", IDYES);
    ASSERT_TRUE(Until(saving));
    EXPECT_TRUE(Until([&]() { return !IsWindowEnabled(saveButton); }));
    ASSERT_TRUE(Until([&]() { return Send(progress, PBM_GETPOS) > 0; }));
    EXPECT_TRUE(Responds(dialog, 2000));
    HWND focus = FocusOf(dialog);
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    ASSERT_TRUE(Until([&]() { return !saving(); }));
    WaitUntilIdle(dialog);                // the rest of the stop, after the bar went
    EXPECT_TRUE(IsWindowVisible(dialog)); // Esc stopped the save only
    EXPECT_TRUE(IsWindowEnabled(saveButton));
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(SaveLeftovers(), leftovers);

    // At zoom 1 the image is saved whole, as long as its header says.
    save(L"1", 0);
    ASSERT_TRUE(Until([&]() { return Exists(path) && !saving(); }, 120));
    WaitUntilIdle(dialog);
    const std::vector<uint8_t> bmp = FileBytes(path);
    ASSERT_GT(bmp.size(), 62u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[2] | bmp[3] << 8 | bmp[4] << 16 | uint32_t(bmp[5]) << 24, bmp.size());
    EXPECT_EQ(SaveLeftovers(), leftovers);
    DeleteFileW(path.c_str());

    // Closing the window during a save stops it.
    save(L"8", IDYES);
    ASSERT_TRUE(Until(saving));
    Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(Until([&]() { return !IsWindow(dialog); }));
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(SaveLeftovers(), leftovers);
    // What the window took is given back (it kept over 100 MB once), by the
    // time the main window takes messages again.
    Send(form, WM_NULL);
    EXPECT_LT(PrivateBytes(program), before + 32u * 1024 * 1024);
}

// A save that the system refuses: the chosen file is held open elsewhere. The
// message names the file and the system's reason, and the file stays as it
// was.
TEST_F(WindowTest, RegistrationCheckNamesTheFileAndTheReasonOfAFailedSave) {
    Start();
    SetText(Item(IDC_REG_NAME), L"CHECK");
    SelectFace(kGothic);
    SetText(Item(IDC_REG_TEXT), L"AB");
    const std::wstring path = TempPath(L"window_check_held.bmp");
    std::ofstream(path.c_str()) << "held";
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const size_t leftovers = SaveLeftovers();
    Command(frame, ID_CHECK_REGISTRATION);
    HWND dialog = WaitForWindow(program, L"登録内容の確認", L"#32770");
    ASSERT_NE(dialog, nullptr);
    ClickLater(GetDlgItem(dialog, IDC_CHECK_SAVE_IMAGE));
    ASSERT_NE(ChooseFileLater(program, path), nullptr);
    // The file dialog asks whether to replace the file: yes.
    HWND replace = nullptr;
    ASSERT_TRUE(Until([&]() {
        replace = WaitForWindow(program, nullptr, L"#32770", 0);
        return replace && GetDlgItem(replace, IDYES);
    }));
    Answer(replace, IDYES);
    const MessageBoxSeen seen = WaitForMessageBox(program);
    ASSERT_NE(seen.box, nullptr);
    wchar_t reason[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_ACCESS_DENIED, 0, reason, 512, nullptr);
    std::wstring expected = L"画像ファイルの保存に失敗しました。\n" + path + L"\n" + reason;
    while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r'))
        expected.pop_back();
    EXPECT_EQ(seen.text, expected);
    Answer(seen.box, IDOK);
    CloseHandle(held);
    EXPECT_EQ(FileBytes(path), std::vector<uint8_t>({'h', 'e', 'l', 'd'}));
    EXPECT_EQ(SaveLeftovers(), leftovers);
    DeleteFileW(path.c_str());
}

// While the window waits for a printer, the commands that need the port wait
// as they do for a download: the buttons are held, closing the window says
// why it stays, and once 中止 has ended the wait everything comes back, the
// focus on the button that started it.
TEST_F(WindowTest, CommandsWaitForAPrinterWaitAndComeBackAfterStop) {
    Start();
    const LoopbackPort silent(true);
    Command(frame, ID_NETWORK_PRINTER);
    HWND dialog = WindowShown(program, L"ネットワークプリンタの設定", L"#32770");
    ASSERT_NE(dialog, nullptr);
    SetText(GetDlgItem(dialog, IDC_NET_HOST), L"127.0.0.1");
    SetText(GetDlgItem(dialog, IDC_NET_PORT), silent.Port());
    Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(WaitUntilGone(dialog));

    ClickLater(Item(IDC_GET_INFO));
    HWND wait = WaitForWindow(program, L"プリンタと通信中", L"#32770");
    ASSERT_NE(wait, nullptr);
    for (int id : {IDC_DOWNLOAD, IDC_GET_INFO, IDC_CLEAR, IDC_ALL_CLEAR, IDC_SAVE, IDC_LOAD})
        EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
    PostMessageW(frame, WM_CLOSE, 0, 0);
    MessageBoxSeen seen = WaitForMessageBox(program);
    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.text, L"プリンタと通信中です。終わるか中止してから操作してください。");
    Answer(seen.box, IDOK);
    ASSERT_TRUE(IsWindow(frame));

    wait = WaitForWindow(program, L"プリンタと通信中", L"#32770");
    ASSERT_NE(wait, nullptr);
    Click(GetDlgItem(wait, IDCANCEL));
    seen = WaitForMessageBox(program);
    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.text, L"プリンタとの通信を中止しました。");
    Answer(seen.box, IDOK);
    ASSERT_TRUE(WaitUntilIdle(frame));
    for (int id : {IDC_DOWNLOAD, IDC_GET_INFO, IDC_CLEAR, IDC_ALL_CLEAR, IDC_SAVE, IDC_LOAD})
        EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
    EXPECT_EQ(FocusOf(frame), Item(IDC_GET_INFO));
}
