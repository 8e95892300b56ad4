// The batch provisioning window against eight printers on the network, two of
// them at fault: driven through a script under Xvfb, its lines and saved table
// read back, the printers' memories and wires held to what they must be.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/integration/virtual_printer_fixture.h"

using namespace integration;
using vprinter::RegistrationMemory;

namespace {

class BatchWindowTest : public VirtualPrinterTest {
protected:
    std::vector<std::string> Batch(const std::vector<std::string>& steps) {
        std::vector<std::string> argv{"xvfb-run",
                                      "-a",
                                      "-s",
                                      "-screen 0 1280x1024x24",
                                      SourceDir() + "/scripts/winrun",
                                      WindowsBinDir() + "/glyphkit-batch-script.exe"};
        argv.insert(argv.end(), steps.begin(), steps.end());
        const ProcessResult r = RunProcess(argv, 300000);
        std::vector<std::string> lines;
        std::istringstream out(r.out);
        for (std::string line; std::getline(out, line);)
            lines.push_back(line.empty() || line.back() != '\r' ? line
                                                                : line.substr(0, line.size() - 1));
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        return lines;
    }
    static std::vector<std::string> Only(const std::vector<std::string>& lines,
                                         const std::string& prefix) {
        std::vector<std::string> kept;
        for (const std::string& line : lines)
            if (line.rfind(prefix, 0) == 0)
                kept.push_back(line.substr(prefix.size()));
        return kept;
    }
    std::string File(const std::string& name, const std::string& text) {
        std::ofstream(WorkDir() + "/" + name, std::ios::binary) << text;
        return WorkDir() + "/" + name;
    }
};

TEST_F(BatchWindowTest, EightPrintersTwoAtFaultThenConvergeSendsNothing) {
    WriteKfd(WorkDir() + "/a.kfd", "ABC", kIpaGothicCp932, 10, {0x41, 0x42, 0x43});
    WriteKfd(WorkDir() + "/b.kfd", "KANA", kIpaGothicCp932, 12, {0x3042, 0x3044, 0x3046, 0x3048});
    const std::string plan = WinePath(File("plan.txt", "1 a.kfd\n2 b.kfd\n"));
    std::vector<std::string> addresses(8);
    std::vector<RegistrationMemory*> memories;
    vprinter::FaultPlan reset;
    reset.dropLinkCharacter = 2;
    NetworkFaults silence;
    silence.silentFromCharacter = 2;
    for (size_t i = 0; i < addresses.size(); ++i)
        memories.push_back(&AddNetworkPrinter(&addresses[i], i == 6 ? reset : vprinter::FaultPlan{},
                                              i == 7 ? silence : NetworkFaults{}));
    std::string list = "# the line's printers\n";
    for (size_t i = 0; i < 7; ++i)
        list += addresses[i] + "\n";
    const std::string printers = WinePath(File("printers.txt", list));
    const std::string csv = WorkDir() + "/result.csv";
    const std::vector<std::string> first =
        Batch({"plan",       plan,
               "printers",   printers,
               "text",       "1209",
               addresses[7], "key",
               "1209",       "enter",
               "key",        "1209",
               "a",          "printer",
               addresses[7], "run",
               "result",     WinePath(csv),
               "shot",       WinePath(WindowsBinDir() + "/../batch-provision.ppm"),
               "widen",      "200"});
    // Enter in the field adds nothing; Alt+A is 追加(&A).
    EXPECT_EQ(Only(first, "printers: "), (std::vector<std::string>{"7", "8"}));
    // The message column takes what the window's width gives.
    const std::vector<std::string> widths = Only(first, "message-width: ");
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_EQ(std::stoi(widths[1]) - std::stoi(widths[0]), 200);
    const std::vector<std::string> entries = Only(first, "entry: ");
    ASSERT_EQ(entries.size(), 2u) << testing::PrintToString(first);
    EXPECT_EQ(entries[0].rfind("01|ABC|3|10|", 0), 0u) << entries[0];
    EXPECT_EQ(entries[1].rfind("02|KANA|4|12|", 0), 0u) << entries[1];
    EXPECT_EQ(Only(first, "box: "), std::vector<std::string>{addresses[7] + "と" + addresses[7] +
                                                             "は同じプリンタです。"});
    EXPECT_EQ(Only(first, "held: "), std::vector<std::string>{"off off off off menu 00011"});
    EXPECT_EQ(Only(first, "seen: ").size(), 1u);
    const std::vector<std::string> rows = Only(first, "row: ");
    ASSERT_EQ(rows.size(), 8u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(rows[i], addresses[i] + "|完了|||");
    for (size_t i : {6, 7})
        EXPECT_EQ(rows[i].rfind(addresses[i] + "|失敗|登録ID01（1/2件目）|1/3|", 0), 0u) << rows[i];
    EXPECT_EQ(Only(first, "summary: "), std::vector<std::string>{"完了 6台、失敗 2台"});

    std::ifstream in(csv, std::ios::binary);
    const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The window's words and columns, and the address of every printer
    // reached, also the one whose connection was reset.
    std::string expected = "\xEF\xBB\xBFプリンタ,アドレス,状態,段階,文字,メッセージ,変更,"
                           "登録したID,登録済みのID,メモリ(byte)\r\n";
    for (size_t i = 0; i < 6; ++i)
        expected += addresses[i] + "," + addresses[i] + ",完了,,,,あり,1 2,,1646\r\n";
    EXPECT_EQ(table.substr(0, expected.size()), expected);
    const std::string failedAt = ",失敗,登録ID01（1/2件目）,1/3,";
    EXPECT_NE(table.find("\r\n" + addresses[6] + "," + addresses[6] + failedAt + "プリンタ " +
                         addresses[6] + " との接続が切れました。"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("\r\n" + addresses[7] + "," + addresses[7] + failedAt +
                         "登録に失敗しました。 プリンタ " + addresses[7] +
                         " から 2 文字目の応答が時間内にありませんでした。,あり,,,\r\n"),
              std::string::npos)
        << table;

    // The picture of the README and the help: the window after the run.
    EXPECT_EQ(Only(first, "failed: "), std::vector<std::string>{});

    // Converging: the six find the plan there and are sent nothing.
    const std::vector<std::string> second =
        Batch({"plan", plan, "printers", printers, "option", "1216", "run"});
    const std::vector<std::string> again = Only(second, "row: ");
    ASSERT_EQ(again.size(), 7u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(again[i], addresses[i] + "|完了|||登録済みのまま ID01 ID02");
    EXPECT_EQ(again[6].rfind(addresses[6] + "|失敗|", 0), 0u) << again[6];

    // One at a time, a slow printer first: 中止 ends it at a character and
    // leaves the others unopened; closing the window during a run asks, then
    // stops it.
    line.baud = 9600;
    std::string slow;
    AddNetworkPrinter(&slow);
    std::vector<uint16_t> forty;
    for (uint16_t c = 0x41; forty.size() < 40; ++c)
        forty.push_back(c);
    WriteKfd(WorkDir() + "/c.kfd", "SLOW", kIpaGothicCp932, 10, forty);
    // The form holds "AB" under ID 5.
    std::vector<std::string> steps{"plan",       WinePath(File("bad.txt", "1 a.kfd\n1 b.kfd\n")),
                                   "plan",       WinePath(File("slow.txt", "1 c.kfd\n")),
                                   "form-text",  "1052",
                                   "5",          "form-text",
                                   "1001",       "WINDOW",
                                   "face",       "IPAゴシック",
                                   "form-click", "1053",
                                   "form-text",  "1043",
                                   "AB"};
    for (const std::string& step :
         {std::string("form"), WinePath(WorkDir() + "/form.kfd"), std::string("form"),
          std::string("-"), std::string("printer"), slow, std::string("printers"), printers,
          std::string("text"), std::string("1213"), std::string("1"), std::string("run-stop"),
          std::string("run-close")})
        steps.push_back(step);
    const std::vector<std::string> third = Batch(steps);
    // The form's registration, saved as 保存 saves it, joins the plan; again
    // under its ID, it is refused before the save dialog.
    const std::vector<std::string> planned = Only(third, "entry: ");
    ASSERT_EQ(planned.size(), 5u);
    EXPECT_EQ(planned[2].rfind("05|WINDOW|2|10|", 0), 0u) << planned[2];
    EXPECT_EQ(planned[4], planned[2]);
    const std::vector<std::string> stopped = Only(third, "row: ");
    ASSERT_EQ(stopped.size(), 8u);
    EXPECT_EQ(stopped[0].rfind(slow + "|中止|登録ID01（1/2件目）|", 0), 0u) << stopped[0];
    for (size_t i = 1; i < 8; ++i)
        EXPECT_EQ(stopped[i], addresses[i - 1] + "|中止|待機中||中止しました。");
    EXPECT_EQ(Only(third, "summary: "), std::vector<std::string>{"完了 0台、失敗 0台、中止 8台"});
    // A plan that plans an ID twice is named by its line, and why.
    // Esc during the run asks as the close box does.
    const std::vector<std::string> boxes = Only(third, "box: ");
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].rfind("登録計画の2行目に誤りがあります。\\n", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("bad.txt\\nこの登録IDは1行目にもあります。"), std::string::npos);
    EXPECT_EQ(boxes[1].rfind("登録ID05は計画にすでにあります。\\n", 0), 0u) << boxes[1];
    EXPECT_EQ(boxes[2], "一括登録の実行中です。終了するか中止してから操作してください。");
    EXPECT_EQ(boxes[3], "一括登録の実行中です。中止して閉じますか？");
    EXPECT_EQ(boxes[4], boxes[3]);
    EXPECT_EQ(Only(third, "closed: "), std::vector<std::string>{"yes"});

    for (size_t i = 0; i < addresses.size(); ++i) {
        const vprinter::WireTranscript t = StopPrinterAt(addresses[i]);
        const auto count = [&](const std::string& note) {
            return std::count_if(t.notes.begin(), t.notes.end(),
                                 [&](const std::string& n) { return n.rfind(note, 0) == 0; });
        };
        if (i < 6) {
            EXPECT_EQ(count("download header"), 2) << addresses[i];
            EXPECT_EQ(count("connection from"), 2) << addresses[i];
            ASSERT_NE(memories[i]->Find(1), nullptr);
            ASSERT_NE(memories[i]->Find(2), nullptr);
            EXPECT_EQ(memories[i]->Find(1)->CharacterCount(), 3u);
            EXPECT_EQ(memories[i]->Find(2)->CharacterCount(), 4u);
        } else {
            EXPECT_EQ(memories[i]->Find(1), nullptr) << addresses[i];
        }
    }
}

} // namespace
