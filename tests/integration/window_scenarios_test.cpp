// The main window against the virtual printer: the window driven through a
// script under Xvfb, its messages, list and progress window read back, and
// the printer's memory and wire held to what they must be.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fontdata/byte_order.h"
#include "tests/integration/virtual_printer_fixture.h"
#include "tools/vprinter/tcp_printer.h"

using namespace integration;
using vprinter::FaultPlan;
using vprinter::MakeLogo;
using vprinter::RegistrationMemory;
using vprinter::StoredFont;

namespace {

// The window tests share COM1; ctest runs them one at a time.
const int kPort = 1;
const char kRegistered[] = "取得完了しました。";
const char kNothingRegistered[] = "取得完了しました。登録されているデータはありません。";
const char kDownloaded[] = "登録完了しました。";
const char kDownloadFailed[] = "登録に失敗しました。";
const char kOverwrite[] = "登録IDが既に存在します。上書きしますか？\\n";

class WindowTest : public VirtualPrinterTest {
protected:
    // The window script's lines, after choosing the model and the port.
    std::vector<std::string> Window(std::vector<std::string> steps, int model = 0) {
        std::vector<std::string> argv{"xvfb-run",
                                      "-a",
                                      "-s",
                                      "-screen 0 1280x1024x24",
                                      SourceDir() + "/scripts/winrun",
                                      WindowsBinDir() + "/glyphkit-window-script.exe",
                                      "model",
                                      std::to_string(model),
                                      "port",
                                      std::to_string(kPort)};
        argv.insert(argv.end(), steps.begin(), steps.end());
        const ProcessResult r = RunProcess(argv, 120000);
        std::vector<std::string> lines;
        std::istringstream out(r.out);
        for (std::string line; std::getline(out, line);) {
            if (!line.empty() && line.back() == '\r') // a Windows line end
                line.pop_back();
            lines.push_back(line);
        }
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_NE(std::find(lines.begin(), lines.end(), "exit: 0"), lines.end()) << r.out;
        return lines;
    }
    // The lines that begin with prefix.
    static std::vector<std::string> Only(const std::vector<std::string>& lines,
                                         const std::string& prefix) {
        std::vector<std::string> kept;
        for (const std::string& line : lines)
            if (line.rfind(prefix, 0) == 0)
                kept.push_back(line);
        return kept;
    }
    // The steps that fill the form with a registration of "AB" in IPAゴシック,
    // one-byte code mode off, under the given ID.
    static std::vector<std::string> Registration(const std::string& id) {
        return {"text",        "1052",  id,     "text", "1001", "WINDOW", "face",
                "IPAゴシック", "click", "1053", "text", "1043", "AB"};
    }
};

// A printer's network interface on 127.0.0.1, served from this process.
class NetworkPrinter {
public:
    // notPrinter: a peer that is no printer in its place.
    explicit NetworkPrinter(const RegistrationMemory& seed,
                            std::optional<vprinter::NonPrinterOptions> notPrinter = std::nullopt,
                            const FaultPlan& faults = {})
        : memory(seed), faults_(faults), printer_(engine_, log_, Options(notPrinter)) {
        std::string error;
        EXPECT_TRUE(printer_.Listen("127.0.0.1", 0, &error)) << error;
        thread_ = std::thread([this] { printer_.Run(); });
    }
    ~NetworkPrinter() { Stop(); }
    // Stops serving, so that the memory can be read.
    void Stop() {
        printer_.Stop();
        if (thread_.joinable())
            thread_.join();
    }
    std::string Port() const { return std::to_string(printer_.Port()); }
    static vprinter::TcpOptions Options(std::optional<vprinter::NonPrinterOptions> notPrinter) {
        vprinter::TcpOptions options;
        options.notPrinter = notPrinter;
        return options;
    }

    RegistrationMemory memory;

private:
    FaultPlan faults_;
    vprinter::WireLog log_;
    vprinter::PrinterEngine engine_{memory, faults_};
    vprinter::TcpPrinter printer_;
    std::thread thread_;
};

std::vector<std::string> Steps(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST_F(WindowTest, GetInfoOfAnEmptyPrinter) {
    StartPrinter(kPort);
    const std::vector<std::string> lines = Window({"press", "1011", "list"});
    EXPECT_EQ(Only(lines, "box"),
              std::vector<std::string>{"box: " + std::string(kNothingRegistered)});
    EXPECT_EQ(Only(lines, "line"), std::vector<std::string>{});
    EXPECT_EQ(Only(lines, "extent"), std::vector<std::string>{"extent: 0"});
    EXPECT_EQ(Only(lines, "memory"), std::vector<std::string>{"memory: メモリ使用量　0/240Kbyte"});
}

TEST_F(WindowTest, GetInfoThenDetailsOfAFontAndALogo) {
    RegistrationMemory seed;
    seed.Store(SampleFont(5, "Sample", 100));
    seed.Store(MakeLogo(50, "LOGO", 96, 200));
    StartPrinter(kPort, {}, seed);
    const std::vector<std::string> lines =
        Window({"press", "1011", "list", "detail", "0", "detail", "1"});
    EXPECT_EQ(Only(lines, "box"), std::vector<std::string>{"box: " + std::string(kRegistered)});
    EXPECT_EQ(Only(lines, "line"),
              (std::vector<std::string>{"line: ID05 Sample 7200byte", "line: ID50 LOGO 2400byte"}));
    // 7200 + 1000 for the font, 2400 + 10 for the logo.
    EXPECT_EQ(Only(lines, "memory"), std::vector<std::string>{"memory: メモリ使用量　10/240Kbyte"});
    EXPECT_EQ(Only(lines, "dialog"),
              (std::vector<std::string>{"dialog: フォント情報", "dialog: ロゴ情報"}));
    const std::vector<std::string> items = Only(lines, "item");
    for (const char* item :
         {"item 1058: 登録ID：5", "item 1057: 登録名称：Sample", "item 1059: 登録フォント数：100",
          "item 1060: フォントサイズ：10", "item 1061: 強調：無効", "item 1062: 斜体：無効",
          "item 1058: 登録ID：50", "item 1013: 縦サイズ：96dot(12.0mm)",
          "item 1014: 横サイズ：200dot(25.0mm)"})
        EXPECT_NE(std::find(items.begin(), items.end(), item), items.end()) << item;
    const std::vector<std::string> entries = Only(lines, "entry");
    ASSERT_EQ(entries.size(), 101u);
    EXPECT_EQ(entries[0], "entry: 0x4230     あ");
    EXPECT_EQ(entries[100], "entry: 0x6B82");
}

TEST_F(WindowTest, LogoSizesFollowTheModelsDotsPerMillimetre) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(3, "WIDE", 100, 100));
    StartPrinter(kPort, {}, seed);
    const std::vector<std::string> lines = Window({"press", "1011", "detail", "0"}, 2);
    const std::vector<std::string> items = Only(lines, "item 1013");
    EXPECT_EQ(items, std::vector<std::string>{"item 1013: 縦サイズ：100dot(8.3mm)"});
}

struct DownloadCase {
    const char* what;
    bool registered; // ID 1 already holds a font
    FaultPlan faults;
    std::vector<std::string> answers;
    std::vector<std::string> boxes; // "text|progress"
    bool stored;                    // the printer holds the new "AB" as ID 1
};

// Test names carry the case's name, not its bytes.
void PrintTo(const DownloadCase& c, std::ostream* out) {
    *out << c.what;
}

class WindowDownloadTest : public WindowTest, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(WindowDownloadTest, MessagesProgressAndWhatThePrinterKeeps) {
    const DownloadCase& c = GetParam();
    RegistrationMemory seed;
    if (c.registered)
        seed.Store(SampleFont(1, "OLD", 3));
    StartPrinter(kPort, c.faults, seed);
    std::vector<std::string> steps = Steps(Registration("1"), {"press", "1016"});
    steps.insert(steps.end(), c.answers.begin(), c.answers.end());
    steps.push_back("list");
    const std::vector<std::string> lines = Window(steps);
    std::vector<std::string> boxes;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].rfind("box: ", 0) == 0)
            boxes.push_back(lines[i].substr(5) + "|" + lines[i + 1].substr(10));
    EXPECT_EQ(boxes, c.boxes);
    StopPrinter();
    const StoredFont* font = memory.Find(1);
    if (!c.stored) {
        if (c.registered) {
            ASSERT_NE(font, nullptr);
            EXPECT_EQ(font->CharacterCount(), 3u); // the old font, untouched
        }
        EXPECT_EQ(Only(lines, "line: ID01 WINDOW").size(), 0u); // the list was not refreshed
        return;
    }
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->CharacterCount(), 2u);
    EXPECT_EQ(font->Entry(0)[0], 'A');
    EXPECT_EQ(font->Entry(1)[0], 'B');
    EXPECT_EQ(Only(lines, "line: ID01 WINDOW").size(), 1u); // refreshed
    // The glyphs are the face's: the console tool renders the same bitmaps.
    const std::string kfd = WorkDir() + "/same.kfd";
    const ProcessResult built = Cli({"build", "--face", "IPAゴシック", "--size", "10", "--name",
                                     "WINDOW", "--text", "AB", "--out", WinePath(kfd)});
    ASSERT_EQ(built.exitCode, 0) << built.out << built.err;
    std::ifstream in(kfd, std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(file.size(), 172u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 172, file.end()), font->glyphs);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WindowDownloadTest,
    ::testing::Values(
        DownloadCase{"FreeId", false, {}, {}, {std::string(kDownloaded) + "|shown"}, true},
        DownloadCase{"RegisteredAnsweredYes",
                     true,
                     {},
                     {"yes"},
                     {std::string(kOverwrite) + "ID01|none", std::string(kDownloaded) + "|shown"},
                     true},
        DownloadCase{"RegisteredAnsweredNo",
                     true,
                     {},
                     {"no"},
                     {std::string(kOverwrite) + "ID01|none"},
                     false},
        DownloadCase{"WrongAckForTheSecondCharacter",
                     false,
                     FaultPlan{false, 2},
                     {},
                     {std::string(kDownloadFailed) +
                      "\\nプリンタ COM1 の 2 文字目の応答が正しくありませんでした。|shown"},
                     false}),
    [](const ::testing::TestParamInfo<DownloadCase>& info) { return info.param.what; });

TEST_F(WindowTest, OnlyAPlainNumberIsARegistrationId) {
    RegistrationMemory seed;
    seed.Store(SampleFont(0, "KEEP", 3));
    StartPrinter(kPort, {}, seed);
    std::vector<std::string> steps;
    // Pasted texts: letters, a letter after a digit (also a full-width one),
    // a sign.
    for (const char* id : {"ab", "1a", "７a", "+7"})
        steps = Steps(steps, Steps(Registration(id), {"press", "1016", "focus"}));
    // Full-width digits, as an IME gives them, read as the digits they show.
    const std::vector<std::string> lines =
        Window(Steps(steps, Steps(Registration("１２"), {"press", "1016"})));
    const std::string refused = "box: 登録IDは0～99の範囲で指定してください。";
    EXPECT_EQ(Only(lines, "box"), (std::vector<std::string>{refused, refused, refused, refused,
                                                            "box: " + std::string(kDownloaded)}));
    EXPECT_EQ(Only(lines, "focus"), std::vector<std::string>(4, "focus: 1052"));
    const vprinter::WireTranscript t = StopPrinter();
    const std::string received(t.received.begin(), t.received.end());
    const std::string start = "\x1B"
                              "FD";
    EXPECT_EQ(received.find(start), received.rfind(start)); // one download only
    ASSERT_NE(memory.Find(0), nullptr);
    EXPECT_EQ(memory.Find(0)->CharacterCount(), 3u);
    ASSERT_NE(memory.Find(12), nullptr);
    EXPECT_EQ(memory.Find(12)->CharacterCount(), 2u);
}

// A paste of "007" is refused whole rather than cut to the registered ID 00;
// the question before an overwrite names the entry of the last listing.
TEST_F(WindowTest, APasteNeverTurnsIntoAnotherId) {
    RegistrationMemory seed;
    seed.Store(SampleFont(0, "PASTE", 3));
    StartPrinter(kPort, {}, seed);
    const std::vector<std::string> lines =
        Window(Steps(Registration("5"), {"press", "1011", "paste", "1052", "007", "press", "1016",
                                         "paste", "1052", "00", "press", "1016", "no"}));
    EXPECT_EQ(Only(lines, "box"),
              (std::vector<std::string>{"box: " + std::string(kRegistered),
                                        "box: " + std::string(kDownloaded),
                                        "box: " + std::string(kOverwrite) + "ID00 PASTE"}));
    StopPrinter();
    ASSERT_NE(memory.Find(0), nullptr);
    EXPECT_EQ(memory.Find(0)->CharacterCount(), 3u);
    ASSERT_NE(memory.Find(5), nullptr);
}

// A refused area says on a second line what the registration needs (the
// registration check's figure) and, after 情報取得, what the printer has free.
TEST_F(WindowTest, DownloadWithTheAreaFullIsRefusedWithoutProgress) {
    RegistrationMemory seed;
    seed.Store(SampleFont(10, "BIG", 2997)); // 2997 x 82 bytes: 6 bytes left
    const std::string ng = "box: 登録領域がNGです。\\n";
    const std::string howToFit = "入る最大のサイズは「登録内容の確認」で確かめられます。";
    const struct {
        std::vector<std::string> before;
        std::string needs, free; // %1 for the bytes needed
    } cases[] = {
        {{}, "この登録にはプリンタのメモリが ", " バイト必要です。"},
        {{"press", "1011"}, "この登録には ", " バイト必要ですが、プリンタの空きは 6 バイトです。"},
    };
    for (const auto& c : cases) {
        StartPrinter(kPort, {}, seed);
        const std::vector<std::string> lines =
            Window(Steps(Steps(Registration("1"), c.before), {"check", "-", "press", "1016"}));
        const std::vector<std::string> bytes = Only(lines, "check 1102: ");
        ASSERT_EQ(bytes.size(), 1u);
        EXPECT_EQ(Only(lines, "box: 登録領域"),
                  std::vector<std::string>{ng + c.needs + bytes[0].substr(12) + c.free + howToFit});
        EXPECT_EQ(Only(lines, "progress").back(), "progress: none");
        StopPrinter();
    }
}

// A failure on a COM port names the port and what happened on a second line,
// as on the network: a printer that stays silent, and a port that leads
// nowhere (COM4 is mapped to nothing).
TEST_F(WindowTest, FailuresOnAComPortNameThePortAndWhy) {
    FaultPlan silent;
    silent.silent = true;
    const std::string noAnswer = "\\nプリンタ COM1 から時間内に応答がありませんでした。";
    const struct {
        std::vector<std::string> steps;
        std::string box;
    } cases[] = {
        {{"press", "1011"}, "box: 取得に失敗しました。" + noAnswer},
        {{"press", "1017"}, "box: データ削除に失敗しました。" + noAnswer},
        {{"port", "4", "press", "1011"},
         "box: COMポートが開けませんでした。\\nCOM4：シリアルポートの装置につながっていません。"},
    };
    for (const auto& c : cases) {
        StartPrinter(kPort, silent);
        EXPECT_EQ(Only(Window(c.steps), "box"), std::vector<std::string>{c.box});
        StopPrinter();
    }
}

TEST_F(WindowTest, NothingDisturbsARunningDownload) {
    FaultPlan slow;
    slow.replyDelayMs = 400;
    StartPrinter(kPort, slow);
    const std::vector<std::string> lines =
        Window(Steps(Registration("1"), {"press-trying", "1016"}));
    EXPECT_EQ(Only(lines, "download-enabled"), std::vector<std::string>{"download-enabled: no"});
    // Ctrl+N and the close are refused with a word each, in whatever order
    // they meet the download's own message.
    std::vector<std::string> boxes = Only(lines, "box");
    std::sort(boxes.begin(), boxes.end());
    const std::string waiting = "box: ダウンロード中です。終わるまでお待ちください。";
    EXPECT_EQ(boxes,
              (std::vector<std::string>{waiting, waiting, "box: " + std::string(kDownloaded)}));
    EXPECT_EQ(Only(lines, "held"), std::vector<std::string>{"held: yes"});
    EXPECT_EQ(Only(lines, "check-enabled"), std::vector<std::string>{"check-enabled: no"});
    EXPECT_EQ(Only(lines, "check-window"), std::vector<std::string>{"check-window: none"});
    EXPECT_EQ(Only(lines, "network-enabled"), std::vector<std::string>{"network-enabled: no"});
    EXPECT_EQ(Only(lines, "network-window"), std::vector<std::string>{"network-window: none"});
    const vprinter::WireTranscript t = StopPrinter();
    ASSERT_NE(memory.Find(1), nullptr);
    EXPECT_EQ(memory.Find(1)->CharacterCount(), 2u);
    // One download start, and no deletion sent.
    const std::string received(t.received.begin(), t.received.end());
    EXPECT_EQ(received.find("\x1B"
                            "FD"),
              received.rfind("\x1B"
                             "FD"));
    EXPECT_EQ(received.find("\x1B"
                            "FC"),
              std::string::npos);
}

// What the operator does with the window while a download runs at the
// line's pace must not stop the line: a printer drops a download after 2 s
// without a byte, and each hold lasts until the last character is taken.
class WindowInUseTest : public WindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowInUseTest, DownloadGoesOn) {
    line.baud = 115200;
    const std::string kind = GetParam();
    {
        StartPrinter(kPort);
        // 36 characters at 48 points: some 1.7 KB and 0.15 s each on the line.
        std::vector<std::string> steps = Registration("1");
        steps[steps.size() - 1] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        const std::vector<std::string> lines =
            Window(Steps(steps, {"type", "1005", "48", "press-during", kind, "1016", "list"}));
        std::vector<std::string> boxes = Only(lines, "box");
        if (kind == "click") {
            EXPECT_EQ(Only(lines, "progress-above"),
                      std::vector<std::string>{"progress-above: yes"})
                << testing::PrintToString(lines);
            EXPECT_EQ(Only(lines, "progress-seen"), std::vector<std::string>{"progress-seen: yes"});
        } else if (kind == "about" || kind == "textfile") {
            // The end's message over the modal window left open; the main
            // window enabled only once that one is closed.
            EXPECT_EQ(Only(lines, "message-over"), std::vector<std::string>{"message-over: modal"});
            EXPECT_EQ(Only(lines, "modal-open"), std::vector<std::string>{"modal-open: yes"});
            EXPECT_EQ(Only(lines, "main-enabled"),
                      (std::vector<std::string>{"main-enabled: no", "main-enabled: yes"}))
                << testing::PrintToString(lines);
        } else {
            const std::vector<std::string> hold = Only(lines, "hold");
            ASSERT_EQ(hold.size(), 1u) << testing::PrintToString(lines);
            EXPECT_NE(hold[0], "hold: 36/36"); // held before the end
            EXPECT_EQ(Only(lines, "full-while-held"),
                      std::vector<std::string>{"full-while-held: yes"})
                << testing::PrintToString(lines);
            if (kind == "message") {
                ASSERT_FALSE(boxes.empty());
                EXPECT_EQ(boxes[0], "box: 指定したフォントサイズが不正です。");
                boxes.erase(boxes.begin());
            }
        }
        EXPECT_EQ(boxes, std::vector<std::string>{"box: " + std::string(kDownloaded)});
        EXPECT_EQ(Only(lines, "line: ID01 WINDOW").size(), 1u);
        StopPrinter();
        ASSERT_NE(memory.Find(1), nullptr);
        EXPECT_EQ(memory.Find(1)->CharacterCount(), 36u);
    }
}

INSTANTIATE_TEST_SUITE_P(Holds, WindowInUseTest,
                         ::testing::Values("menu", "move", "message", "click", "about", "textfile"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

// 中止 during a paced download, by the progress window's button or by Esc on
// the main window: nothing more is sent, the printer is listed, and the
// window's list and message say what it holds under the ID.
TEST_F(WindowTest, StopEndsADownloadAndTheListShowsThePrinter) {
    line.baud = 115200;
    const struct {
        const char* how;
        bool held; // ID01 holds OLD before the download, listed first
        const char* fate;
    } cases[] = {
        {"stop", false, "ID01 はプリンタに登録されていません。"},
        {"stop-esc", true, "ID01 は以前の登録のままです: ID01 OLD 144byte"},
    };
    std::atomic<int> taken{0};
    onPrinterCharacter = [&](int k) { taken = k; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        taken = 0;
        RegistrationMemory seed;
        if (c.held)
            seed.Store(SampleFont(1, "OLD", 2));
        StartPrinter(kPort, {}, seed);
        std::vector<std::string> steps =
            c.held ? std::vector<std::string>{"press", "1011"} : std::vector<std::string>{};
        steps = Steps(steps, Registration("1"));
        steps[steps.size() - 1] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        const std::vector<std::string> lines = Window(
            Steps(steps, {"type", "1005", "48", "press-during", c.how, "1016", "yes", "list"}));
        const std::vector<std::string> stoppedAt = Only(lines, "stopped-at");
        ASSERT_EQ(stoppedAt.size(), 1u) << testing::PrintToString(lines);
        const std::string counter = Only(lines, "counter").at(0);
        EXPECT_EQ(counter.substr(counter.find('/')), "/ 36 文字") << counter;
        EXPECT_EQ(Only(lines, "box").back(),
                  "box: ダウンロードを中止しました。\\n" + std::string(c.fate))
            << testing::PrintToString(lines);
        StopPrinter();
        // The window lists what the printer holds: the old font, or nothing.
        EXPECT_EQ(Only(lines, "line"), c.held ? std::vector<std::string>{"line: ID01 OLD 144byte"}
                                              : std::vector<std::string>{});
        ASSERT_EQ(memory.Find(1) != nullptr, c.held);
        if (c.held)
            EXPECT_EQ(memory.Find(1)->CharacterCount(), 2u);
        // After 中止 no frame but the one on the line when it was pressed.
        const int shown = std::stoi(stoppedAt[0].substr(std::string("stopped-at: ").size()));
        EXPECT_GE(shown, 2);
        EXPECT_LE(taken.load(), shown + 2);
        EXPECT_LT(taken.load(), 36);
    }
}

TEST_F(WindowTest, ClearAndAllClear) {
    RegistrationMemory seed;
    seed.Store(SampleFont(7, "SEVEN", 2));
    seed.Store(SampleFont(8, "EIGHT", 2));
    seed.Store(SampleFont(9, "NINE", 2));
    StartPrinter(kPort, {}, seed);
    const std::vector<std::string> lines = Window({
        "press",  "1012",                                          // nothing selected
        "press",  "1011", "select", "0",    "press", "1012", "no", // declined
        "select", "1",    "press",  "1012", "yes",   "list",       // EIGHT deleted
        "press",  "1017", "yes",    "list",                        // all
    });
    EXPECT_EQ(Only(lines, "box"),
              (std::vector<std::string>{
                  "box: 削除する登録データを選択してください。", "box: " + std::string(kRegistered),
                  "box: 選択した登録データを削除します。実行しますか？",
                  "box: 選択した登録データを削除します。実行しますか？",
                  "box: データ削除に成功しました。",
                  "box: プリンタに登録されているデータを全て削除します。実行しますか？\\n"
                  "※登録されているフォント、ロゴデータが全て削除されます。",
                  "box: データ削除に成功しました。"}));
    EXPECT_EQ(Only(lines, "line"),
              (std::vector<std::string>{"line: ID07 SEVEN 144byte", "line: ID09 NINE 144byte"}));
    EXPECT_EQ(Only(lines, "memory").back(), "memory: メモリ使用量　0/240Kbyte");
    StopPrinter();
    EXPECT_TRUE(memory.Entries().empty());
}

// The registration check of the menu. Its figures are those of a Save of the
// same form (as the console tool shows the saved file), its verdict follows
// the last listing and the ID typed, and its image is the console tool's.
TEST_F(WindowTest, RegistrationCheckAgreesWithASaveAndTheListing) {
    RegistrationMemory seed;
    seed.Store(SampleFont(10, "BIG", 2997)); // 2997 x 82 bytes: 6 bytes left
    StartPrinter(kPort, {}, seed);
    const std::string image = WorkDir() + "/check.bmp";
    const std::vector<std::string> lines =
        Window(Steps(Registration("1"), {"check", "-", "press", "1011", "list", "check",
                                         WinePath(image), "text", "1052", "10", "check", "-"}));
    const std::vector<std::string> fits = Only(lines, "check 1103");
    ASSERT_EQ(fits.size(), 3u) << testing::PrintToString(lines);
    const std::string fitsMemory = "プリンタのメモリ240Kbyteに収まります。";
    EXPECT_EQ(fits[0],
              "check 1103: " + fitsMemory + "\\nプリンタの空きは「情報取得」の後に示されます。");
    EXPECT_EQ(fits[1],
              "check 1103: " + fitsMemory + "\\n最後に取得したプリンタの空き6byteに収まりません。");
    EXPECT_EQ(fits[2],
              "check 1103: " + fitsMemory +
                  "\\n最後に取得したプリンタの空き245760byteに収まります。\\n"
                  "登録ID10が使う245754byte（一覧に示すグリフデータ215784byteと、"
                  "1文字10byteの文字情報29970byte）は上書きで空くものとして数えています。");
    // The list's line for that entry, its glyph data.
    EXPECT_EQ(Only(lines, "line"), std::vector<std::string>{"line: ID10 BIG 215784byte"});

    // A Save of the same form, shown by the console tool.
    const std::string kfd = WorkDir() + "/same.kfd";
    const std::vector<std::string> form{"--face", "IPAゴシック", "--size", "10",
                                        "--name", "WINDOW",      "--text", "AB"};
    std::vector<std::string> build{"build"};
    build.insert(build.end(), form.begin(), form.end());
    build.insert(build.end(), {"--out", WinePath(kfd)});
    ASSERT_EQ(Cli(build).exitCode, 0);
    const ProcessResult shown = Cli({"show", WinePath(kfd)});
    const auto value = [&](const std::string& key) {
        const size_t at = shown.out.find("\n" + key + "=");
        return at == std::string::npos ? -1L : std::stol(shown.out.substr(at + key.size() + 2));
    };
    const long count = value("count");
    ASSERT_EQ(count, 2) << shown.out;
    EXPECT_EQ(Only(lines, "check 1101"), std::vector<std::string>(3, "check 1101: 2"));
    EXPECT_EQ(Only(lines, "check 1102"),
              std::vector<std::string>(
                  3, "check 1102: " + std::to_string(count * (value("bytes_per_glyph") + 10))));

    // The window's image is the console tool's, byte for byte.
    const std::string cliImage = WorkDir() + "/cli.bmp";
    std::vector<std::string> check{"check"};
    check.insert(check.end(), form.begin(), form.end());
    check.insert(check.end(), {"--image", WinePath(cliImage)});
    ASSERT_EQ(Cli(check).exitCode, 0);
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>{std::istreambuf_iterator<char>(in), {}};
    };
    const std::vector<uint8_t> saved = bytes(image);
    ASSERT_GT(saved.size(), 62u);
    EXPECT_EQ(saved[0], 'B');
    EXPECT_EQ(saved, bytes(cliImage));
}

// The check's answers after a listing: the largest sizes that fit, the
// console tool's for the same form and printer; the line drawn on the screen
// is the console tool's line image; the size button sets the form's size and
// the check opens again at it, keeping the line.
TEST_F(WindowTest, RegistrationCheckAnswersWhichSizeFitsAndHowALineLooks) {
    RegistrationMemory seed;
    seed.Store(SampleFont(10, "BIG", 1500)); // 123000 bytes of the 245760
    StartPrinter(kPort, {}, seed);
    std::string kanji; // U+4E00 on, in UTF-8; those code page 932 lacks are dropped
    for (uint32_t c = 0x4E00; c < 0x4E00 + 400; ++c)
        kanji += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    const std::string picture = WorkDir() + "/line.pbm";
    const std::vector<std::string> lines = Window(
        {"text",        "1052",  "3",     "text", "1001",          "WINDOW", "face",
         "IPAゴシック", "click", "1053",  "type", "1005",          "24",     "text",
         "1043",        kanji,   "press", "1011", "check-answers", "丁X七",  WinePath(picture)});

    const std::vector<std::string> form{"--face", "IPAゴシック", "--size", "24",
                                        "--name", "WINDOW",      "--text", kanji};
    std::vector<std::string> check{"check"};
    check.insert(check.end(), form.begin(), form.end());
    const std::string cliLine = WorkDir() + "/line.bmp";
    check.insert(check.end(), {"--fit", "--port", std::to_string(kPort), "--id", "3", "--line",
                               "丁X七", "--image", WinePath(cliLine)});
    const ProcessResult cli = Cli(check);
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    const auto value = [&](const std::string& key) {
        const size_t at = cli.out.find("\n" + key + "=");
        return at == std::string::npos
                   ? std::string()
                   : cli.out.substr(at + key.size() + 2,
                                    cli.out.find('\n', at + 1) - at - key.size() - 2);
    };
    const std::string empty = value("largest_size_fitting");
    const std::string free = value("largest_size_fitting_free");
    ASSERT_FALSE(free.empty()) << cli.out;
    EXPECT_LT(std::stoi(free), std::stoi(empty));
    EXPECT_EQ(
        Only(lines, "check 1113"),
        std::vector<std::string>{"check 1113: この文字が空のプリンタに収まる最大サイズ：" + empty +
                                 "ポイント\\n最後に取得したプリンタの空きに収まる最大サイズ：" +
                                 free + "ポイント"});
    EXPECT_EQ(Only(lines, "check 1114"),
              std::vector<std::string>{"check 1114: " + free + "ポイントにする"});
    EXPECT_EQ(Only(lines, "check 1118"),
              std::vector<std::string>{"check 1118: 登録されない文字（空の枠）：X  U+0058"});
    EXPECT_EQ(Only(lines, "line_missing"), std::vector<std::string>{});
    EXPECT_NE(cli.out.find("line_missing=U+0058 X\n"), std::string::npos) << cli.out;
    // Taken: the form's size, and the check again at it, with the line.
    EXPECT_EQ(Only(lines, "size"), std::vector<std::string>{"size: " + free});
    // The line starts as the registration's first twelve characters.
    const std::vector<std::string> typed = Only(lines, "check 1116");
    ASSERT_EQ(typed.size(), 2u);
    EXPECT_EQ(typed[0].rfind("check 1116: 一丁七", 0), 0u) << typed[0];
    EXPECT_EQ(typed[0].size(), std::string("check 1116: ").size() + 12 * 3);
    EXPECT_EQ(typed[1], "check 1116: 丁X七");
    const std::vector<std::string> after = Only(lines, "check 1103");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_NE(after[0].find("最後に取得したプリンタの空き122760byteに収まります。"),
              std::string::npos)
        << after[0];

    // The screen's line is the console tool's image, as far as the control
    // shows it; the rest of the control is paper.
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>{std::istreambuf_iterator<char>(in), {}};
    };
    const std::vector<uint8_t> shown = bytes(picture), image = bytes(cliLine);
    ASSERT_GT(image.size(), 62u);
    int width = 0, height = 0, header = 0;
    ASSERT_EQ(std::sscanf(reinterpret_cast<const char*>(shown.data()), "P4 %d %d%n", &width,
                          &height, &header),
              2);
    const uint32_t imageWidth = ReadLE32(&image[18]), imageHeight = ReadLE32(&image[22]);
    const size_t imageStride = (imageWidth + 31) / 32 * 4, shownStride = (width + 7) / 8;
    int inked = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool onScreen = shown[header + 1 + y * shownStride + x / 8] & (0x80 >> (x % 8));
            const bool inImage =
                uint32_t(x) < imageWidth && uint32_t(y) < imageHeight &&
                (image[62 + (imageHeight - 1 - y) * imageStride + x / 8] & (0x80 >> (x % 8)));
            inked += onScreen;
            ASSERT_EQ(onScreen, inImage) << x << "," << y;
        }
    EXPECT_GT(inked, 100);
    StopPrinter();
}

// A face without Hangul: the Hangul of the text is listed with its code, and
// the characters the face has no glyph for are those the console tool names.
TEST_F(WindowTest, RegistrationCheckListsWhatTheFaceCannotShow) {
    const std::vector<std::string> lines =
        Window({"check", "-", "text", "1001", "HANGUL", "face", "AR PL SungtiL GB", "click", "1053",
                "text", "1043", "A가漢나", "check", "-"});
    EXPECT_EQ(Only(lines, "box"), std::vector<std::string>{"box: 登録フォント名称が不正です。"});
    EXPECT_EQ(Only(lines, "check 1105"),
              (std::vector<std::string>{"check 1105: 가  U+AC00", "check 1105: 나  U+B098"}));
    const ProcessResult codes = Cli({"codes", "--face", "AR PL SungtiL GB", "--text", "A가漢나"});
    ASSERT_EQ(codes.exitCode, 0);
    std::vector<std::string> named;
    for (size_t at = codes.err.find("U+"); at != std::string::npos;
         at = codes.err.find("U+", at + 1))
        named.push_back(codes.err.substr(at, 6));
    std::vector<std::string> listed;
    for (const std::string& line : Only(lines, "check 1104"))
        listed.push_back(line.substr(line.find("U+")));
    EXPECT_FALSE(named.empty()) << codes.err;
    EXPECT_EQ(listed, named);
}

// A printer on the network does in the window what one on COM1 does. The
// connection test tells what it holds and leaves the form's list alone; with
// the printer chosen, Get info, Download, the details and Clear talk to it,
// and the column names it; choosing COM1 goes back to the printer on the line.
TEST_F(WindowTest, APrinterOnTheNetworkWorksAsOnCom1) {
    RegistrationMemory onLine, onNetwork;
    onLine.Store(SampleFont(3, "LINE", 2));
    onNetwork.Store(SampleFont(5, "NET", 100));
    StartPrinter(kPort, {}, onLine);
    NetworkPrinter network(onNetwork);
    const std::string port = network.Port(), address = "127.0.0.1:" + port;
    const std::vector<std::string> lines =
        Window(Steps({"printer", "connection-test", "127.0.0.1", port, "list", "network",
                      "127.0.0.1", port, "printer", "press", "1011"},
                     Steps(Registration("1"),
                           {"press", "1016", "list", "detail", "0", "select", "1", "press", "1012",
                            "yes", "list", "port", "1", "printer", "press", "1011", "list"})));
    EXPECT_EQ(Only(lines, "printer"),
              (std::vector<std::string>{"printer: COM1", "printer: " + address, "printer: COM1"}));
    const std::string registered = "box: " + std::string(kRegistered);
    EXPECT_EQ(Only(lines, "box"),
              (std::vector<std::string>{
                  "box: プリンタ " + address +
                      " に接続できました。\\n登録データ：1件　メモリ使用量：8/240Kbyte",
                  registered, "box: " + std::string(kDownloaded),
                  "box: 選択した登録データを削除します。実行しますか？",
                  "box: データ削除に成功しました。", registered}));
    const std::vector<std::string> listed = Only(lines, "line");
    ASSERT_EQ(listed.size(), 4u) << testing::PrintToString(lines);
    EXPECT_EQ(listed[0].rfind("line: ID01 WINDOW ", 0), 0u);
    EXPECT_EQ(listed[1], "line: ID05 NET 7200byte");
    EXPECT_EQ(listed[2], listed[0]);
    EXPECT_EQ(listed[3], "line: ID03 LINE 144byte");
    EXPECT_EQ(Only(lines, "memory").front(), "memory: メモリ使用量　N/A"); // after the test
    const std::vector<std::string> items = Only(lines, "item 105");
    for (const char* item : {"item 1057: 登録名称：WINDOW", "item 1059: 登録フォント数：2"})
        EXPECT_NE(std::find(items.begin(), items.end(), item), items.end()) << item;
    StopPrinter();
    network.Stop();
    ASSERT_NE(network.memory.Find(1), nullptr);
    EXPECT_EQ(network.memory.Find(1)->CharacterCount(), 2u);
    EXPECT_EQ(network.memory.Find(5), nullptr);
    EXPECT_EQ(memory.Entries().size(), 1u); // the printer on the line was only asked
}

// The list, its memory line and what reads them describe the printer they
// were read from: choosing another printer empties them, choosing the same
// one keeps them. A peer that is no printer is told as such, by the
// connection test and by Get info, and the dialog takes exact addresses only,
// offering the one chosen last.
TEST_F(WindowTest, TheListBelongsToThePrinterItWasReadFrom) {
    RegistrationMemory onLine, onNetwork;
    onLine.Store(SampleFont(3, "LINE", 2));
    onNetwork.Store(SampleFont(5, "NET", 100));
    StartPrinter(kPort, {}, onLine);
    NetworkPrinter network(onNetwork), web({}, vprinter::NonPrinterOptions{});
    const std::string port = network.Port(), webPort = web.Port();
    const std::vector<std::string> lines = Window({"press",
                                                   "1011",
                                                   "list",
                                                   "network",
                                                   "127.0.0.1",
                                                   port,
                                                   "list",
                                                   "network-offered",
                                                   "press",
                                                   "1011",
                                                   "network",
                                                   "127.0.0.1",
                                                   port,
                                                   "list",
                                                   "network-refused",
                                                   "127.1",
                                                   port,
                                                   "network-refused",
                                                   "0177.0.0.1",
                                                   port,
                                                   "connection-test",
                                                   "127.0.0.1",
                                                   webPort,
                                                   "network",
                                                   "127.0.0.1",
                                                   webPort,
                                                   "list",
                                                   "press",
                                                   "1011",
                                                   "press",
                                                   "1012",
                                                   "port",
                                                   "1",
                                                   "list",
                                                   "network-offered"});
    const std::string webAddress = "127.0.0.1:" + webPort;
    const std::string badHost =
        "box: プリンタのアドレスが正しくありません。\\nホスト名、IPv4アドレスまた"
        "はIPv6アドレスを入力してください。";
    EXPECT_EQ(Only(lines, "box"),
              (std::vector<std::string>{
                  "box: " + std::string(kRegistered), "box: " + std::string(kRegistered), badHost,
                  badHost,
                  "box: プリンタ " + webAddress +
                      " に接続できましたが、応答がプリンタのものではありません。\\nアドレスとポー"
                      "ト番号がプリンタのものか確認してください。",
                  "box: 取得に失敗しました。\\n" + webAddress +
                      " からの応答はプリンタの応答ではありません。",
                  "box: 削除する登録データを選択してください。"}));
    EXPECT_EQ(Only(lines, "line"),
              (std::vector<std::string>{"line: ID03 LINE 144byte", "line: ID05 NET 7200byte"}));
    EXPECT_EQ(
        Only(lines, "memory"),
        (std::vector<std::string>{"memory: メモリ使用量　0/240Kbyte", "memory: メモリ使用量　N/A",
                                  "memory: メモリ使用量　8/240Kbyte", "memory: メモリ使用量　N/A",
                                  "memory: メモリ使用量　N/A"}));
    EXPECT_EQ(Only(lines, "offered"), (std::vector<std::string>{"offered: 127.0.0.1 " + port,
                                                                "offered: 127.0.0.1 " + webPort}));
    StopPrinter();
    network.Stop();
    web.Stop();
    EXPECT_NE(network.memory.Find(5), nullptr);
    EXPECT_NE(memory.Find(3), nullptr);
}

// A printer that never answers, on COM1 and on the network: the window waits
// for it with a window of its own, whose 中止 (its button or Esc) ends the
// wait with a message that says so. The port was let go (the next command
// opens it again) and the printer keeps what it held.
TEST_F(WindowTest, StopEndsAWaitForASilentPrinter) {
    RegistrationMemory seed;
    seed.Store(SampleFont(7, "SEVEN", 2));
    FaultPlan silent;
    silent.silent = true;
    StartPrinter(kPort, silent, seed);
    NetworkPrinter network(seed, std::nullopt, silent);
    const std::string port = network.Port();
    const std::vector<std::string> lines =
        Window({"press-stop", "1011", "button", "press-stop", "1011", "esc", "list", "network",
                "127.0.0.1", port, "press-stop", "1011", "esc", "connection-test-stop", "127.0.0.1",
                port, "press-stop", "1011", "main"});
    const std::string stopped = "box: プリンタとの通信を中止しました。";
    EXPECT_EQ(Only(lines, "wait"), std::vector<std::string>(5, "wait: shown"));
    // A click on the main window leaves the way out in sight, and Esc there
    // takes it.
    EXPECT_EQ(Only(lines, "in-sight"), std::vector<std::string>{"in-sight: yes"});
    EXPECT_EQ(Only(lines, "box"), std::vector<std::string>(5, stopped));
    EXPECT_EQ(Only(lines, "memory"), std::vector<std::string>{"memory: メモリ使用量　N/A"});
    StopPrinter();
    network.Stop();
    EXPECT_NE(memory.Find(7), nullptr);
    EXPECT_NE(network.memory.Find(7), nullptr);
}

struct HelpCase {
    const char* what;
    std::vector<std::string> steps; // the steps that open the help
    std::string page;               // of the help file, as the browser is given it
    bool filled = false;            // the form holds a registration first
    bool silent = false;            // the printer answers nothing
};

void PrintTo(const HelpCase& c, std::ostream* out) {
    *out << c.what;
}

class WindowHelpTest : public WindowTest, public ::testing::WithParamInterface<HelpCase> {};

// Under Wine the help goes to the desktop's browser through winebrowser, here
// a script that records what it is given: F1 gives the page of its window,
// the menu the contents, as compiled into the help file, with its style sheet.
TEST_P(WindowHelpTest, OpensThePageOfTheWindowInTheBrowser) {
    const HelpCase& c = GetParam();
    const auto browserLog = [this] { return WorkDir() + "/browser.log"; };
    // The download's first character waits for the browser: its progress stays.
    onPrinterCharacter = [&](int) {
        for (int ms = 0; ms < 60000 && std::ifstream(browserLog()).peek() == EOF; ms += 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    FaultPlan faults;
    faults.silent = c.silent;
    RegistrationMemory seed;
    seed.Store(SampleFont(5, "Sample", 3));
    StartPrinter(kPort, faults, seed);
    const std::string recorder = WorkDir() + "/browser.sh";
    std::ofstream(recorder) << "#!/bin/sh\necho \"$1\" >> '" << browserLog() << "'\n";
    ASSERT_EQ(RunProcess({"chmod", "+x", recorder}, 10000).exitCode, 0);
    const std::vector<std::string> steps = Steps({"browser", recorder, WinePath(browserLog())},
                                                 c.filled ? Registration("1") : c.steps);
    const std::vector<std::string> given =
        Only(Window(c.filled ? Steps(steps, c.steps) : steps), "browser: ");
    ASSERT_EQ(given.size(), 1u);
    const std::string folder = given[0].substr(16, given[0].rfind('/') - 15); // after file://
    EXPECT_EQ(given[0], "browser: file://" + folder + c.page);
    for (const std::string& file : {c.page, std::string("help.css")}) {
        std::ifstream shown(folder + file),
            compiled(WindowsBinDir() + "/../res/help/stage/" + file);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(shown), {}),
                  std::string(std::istreambuf_iterator<char>(compiled), {}))
            << file;
    }
}
INSTANTIATE_TEST_SUITE_P(
    Windows, WindowHelpTest,
    ::testing::Values(HelpCase{"Menu", {"help", "menu"}, "index.htm"},
                      HelpCase{"MainWindow", {"help", "main"}, "mainwin.htm"},
                      HelpCase{"ModelChoice", {"help", "model"}, "startup.htm"},
                      HelpCase{"ComPort", {"help", "comport"}, "comport.htm"},
                      HelpCase{"NetworkPrinter", {"help", "network"}, "network.htm"},
                      HelpCase{"About", {"help", "about"}, "mainwin.htm"},
                      HelpCase{"Batch", {"help", "batch"}, "batch.htm"},
                      HelpCase{"FontDetails", {"press", "1011", "help", "detail"}, "details.htm"},
                      HelpCase{
                          "PrinterWait", {"press-stop", "1011", "help"}, "manage.htm", false, true},
                      HelpCase{"RegistrationCheck", {"help", "check"}, "mainwin.htm", true},
                      HelpCase{"Progress", {"press-during", "help", "1016"}, "download.htm", true}),
    [](const ::testing::TestParamInfo<HelpCase>& info) { return info.param.what; });
