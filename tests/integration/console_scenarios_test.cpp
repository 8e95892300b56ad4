// glyphkit-cli's messages, help and progress lines under Wine, with virtual
// printers that must receive nothing from a refused command. These tests run
// in a Wine prefix of their own, whose COM ports no other test maps.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/integration/virtual_printer_fixture.h"

using namespace integration;
using vprinter::NonPrinterKind;
using vprinter::RegistrationMemory;

namespace {

class ConsoleTest : public VirtualPrinterTest {
protected:
    // A file of the work folder, with the content given; its Windows path.
    std::string File(const std::string& name, const std::string& content) {
        std::ofstream(WorkDir() + "/" + name, std::ios::binary) << content;
        return WinePath(WorkDir() + "/" + name);
    }
    std::string Kfd(const std::string& name, const std::vector<uint16_t>& codes) {
        WriteKfd(WorkDir() + "/" + name, "F" + std::to_string(codes.size()), kIpaGothicCp932, 10,
                 codes);
        return WinePath(WorkDir() + "/" + name);
    }
    // glyphkit-cli ARGS with standard error on a console `columns` wide, under
    // Xvfb: the console's rows at the end, down to the cursor's.
    std::vector<std::string> ScreenOf(int columns, const std::vector<std::string>& args) {
        std::vector<std::string> argv{"xvfb-run",
                                      "-a",
                                      "-s",
                                      "-screen 0 1280x1024x24",
                                      SourceDir() + "/scripts/winrun",
                                      WindowsBinDir() + "/glyphkit-console-screen.exe",
                                      std::to_string(columns),
                                      WinePath(WindowsBinDir() + "/glyphkit-cli.exe")};
        argv.insert(argv.end(), args.begin(), args.end());
        const ProcessResult r = RunProcess(argv, 120000);
        EXPECT_NE(r.out.find("exit: 0\n"), std::string::npos) << r.out << r.err;
        std::vector<std::string> rows;
        std::istringstream out(r.out.substr(std::min(r.out.size(), r.out.find("screen:\n") + 8)));
        for (std::string row; std::getline(out, row) && row.rfind("exit: ", 0) != 0;)
            rows.push_back(row);
        return rows;
    }
    const std::vector<uint16_t> kana{0x3042, 0x3044, 0x3046, 0x3048, 0x304A};
};

TEST_F(ConsoleTest, RefusalsNameWhatIsWrongAndReachNoPrinter) {
    StartPrinter(1);
    const std::string kfd = Kfd("a.kfd", kana);
    const std::string plan = File("plan.txt", "1 a.kfd\n");
    const std::string png = WorkDir() + "/sheet.png";
    const struct {
        std::vector<std::string> args;
        int status;
        const char* expect; // on standard error, or on standard output for help
    } cases[] = {
        // The registration ID is the form's field: its rule and message on
        // any number of ports.
        {{"download", kfd, "--id", "1e1", "--port", "1"},
         1,
         "登録IDは0～99の範囲で指定してください。"},
        {{"download", kfd, "--id", "1e1", "--port", "1,2"},
         1,
         "登録IDは0～99の範囲で指定してください。"},
        {{"download", kfd, "--id", "1", "--port", "1", "--colour", "red"},
         2,
         "download does not take --colour\nusage: glyphkit-cli download FILE.kfd"},
        {{"provision", plan, "--port", "1", "-p"}, 2, "provision does not take -p\n"},
        {{"list", "--port", "1", "--verbose"}, 2, "list does not take --verbose\n"},
        {{"check", kfd, "--zoom", "2"}, 2, "--zoom applies only with --image FILE.bmp"},
        {{"check", kfd, "--image", WinePath(png)}, 2, "--image writes a BMP file"},
        {{"check", kfd, "--port", "1"}, 2, "--port and --id apply only with --fit"},
        {{"check", kfd, "--fit", "--id", "3"}, 2, "--id names an entry of the printer given"},
        {{"provision", File("zero.txt", std::string("1 a.kfd\n2 a.kfd\0.txt\n", 21)), "--port",
          "1"},
         2,
         "zero.txt line 2: 行にNULバイトが含まれています。"},
        {{"provision", File("big.txt", std::string(1024 * 1024 + 1, '#')), "--port", "1"},
         2,
         "big.txt: the plan is larger than its limit of 1 MB (1048576 bytes)"},
        {{"provision", plan, "--port", "1", "--clear", "--converge"},
         2,
         "--converge keeps what each printer holds as planned and --clear deletes"},
        {{"download", kfd, "--id", "1", "--jobs", "0"}, 2, "--jobs takes the number of printers"},
        {{"provision", "--help"}, 0, "\n  ID FILE.kfd\n"},
        {{"check", "--help"}, 0, "\n  --zoom 1|2|4|8 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const ProcessResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, c.status) << r.out << r.err;
        if (c.status == 0) {
            EXPECT_NE(r.out.find(c.expect), std::string::npos) << r.out;
            EXPECT_NE(r.out.find("\nExit status: 0 "), std::string::npos) << r.out;
        } else {
            EXPECT_NE(r.err.find(c.expect), std::string::npos) << r.err;
            EXPECT_EQ(r.out, "");
        }
    }
    EXPECT_NE(access(png.c_str(), F_OK), 0);
    EXPECT_TRUE(StopPrinter().received.empty());
}

TEST_F(ConsoleTest, OkLineNamesThePlannedIdsOnly) {
    RegistrationMemory seed;
    seed.Store(vprinter::MakeLogo(7, "LOGO", 16, 16));
    StartPrinter(2, {}, seed);
    Kfd("a.kfd", {0x41});
    Kfd("b.kfd", kana);
    const ProcessResult r =
        Cli({"provision", File("plan.txt", "2 b.kfd\n1 a.kfd\n"), "--port", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out.rfind("COM2 ok: ID02 ID01, memory ", 0), 0u) << r.out;
    StopPrinter();
    EXPECT_NE(memory.Find(7), nullptr);
}

TEST_F(ConsoleTest, JsonIsOneObjectALineInUtf8) {
    // A logo named ソ"\ in code page 932 (83 5C 22 5C): a quote and a
    // backslash to escape, and a backslash byte that is half of a kanji. The
    // silent printer fails its first listing.
    RegistrationMemory seed;
    seed.Store(vprinter::MakeLogo(7, "\x83\x5C\"\\", 16, 16));
    StartPrinter(5, {}, seed);
    vprinter::FaultPlan silent;
    silent.silent = true;
    AddPrinter(6, silent);
    const std::string kfd = Kfd("a.kfd", {0x41});
    const std::string plan = File("plan.txt", "1 a.kfd\n");
    const std::string ok = R"({"printer":"COM5","address":"COM5","status":"ok",)";
    const std::string done = R"("step":"done","message":"",)";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
    } cases[] = {
        {{"list", "--port", "5", "--json"},
         0,
         ok + R"("changed":false,"message":"","entries":[{"id":7,"name":"ソ\"\\",)"
              R"("kind":"logo","characters":1,"bytes":32,"size":32}],"memory":42})"
              "\n"},
        {{"provision", plan, "--port", "5,6", "--converge", "--json"},
         1,
         ok + R"("changed":true,)" + done + R"("stored":[1],"kept":[],"memory":232})" + "\n" +
             R"({"printer":"COM6","address":"COM6","status":"failed","changed":false,)"
             R"("step":"first_listing",)"
             R"("message":"取得に失敗しました。 プリンタ COM6 から時間内に応答がありませんでした。",)"
             R"("stored":[],"kept":[],"memory":null})"
             "\n"},
        {{"provision", plan, "--port", "5", "--converge", "--json"},
         0,
         ok + R"("changed":false,)" + done + R"("stored":[],"kept":[1],"memory":232})" + "\n"},
        {{"download", kfd, "--id", "2", "--port", "5", "--json"},
         0,
         ok + R"("changed":true,)" + done + R"("stored":[2],"kept":[],"memory":422})" + "\n"},
        // U+E000 is in no IPA font: registered as the empty box.
        {{"check", Kfd("m.kfd", {0x41, 0xE000}), "--json"},
         0,
         R"({"count":2,"bytes_per_glyph":180,"memory_bytes":380,"fits_240KB":true,)"
         R"("cell":"41x30","cell_mm":"5.1x3.8","missing":[{"code":"U+E000",)"
         "\"character\":\"\xEE\x80\x80\"}],\"dropped\":[]}\n"},
        // Two characters fit at any size; B is not among them.
        {{"check", Kfd("m.kfd", {0x41, 0xE000}), "--json", "--fit", "--port", "5", "--line",
          "A\xEE\x80\x80"
          "B"},
         0,
         R"({"count":2,"bytes_per_glyph":180,"memory_bytes":380,"fits_240KB":true,)"
         R"("cell":"41x30","cell_mm":"5.1x3.8","missing":[{"code":"U+E000",)"
         "\"character\":\"\xEE\x80\x80\"}],\"dropped\":[],"
         R"("largest_size_fitting":72,"largest_size_fitting_free":72,)"
         R"("line_missing":[{"code":"U+0042","character":"B"}]})"
         "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const ProcessResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, c.status) << r.err;
        EXPECT_EQ(r.out, c.out) << r.err;
    }
    StopPrinter();
}

TEST_F(ConsoleTest, ProgressRedrawsInPlaceOnANarrowConsole) {
    // Every line but a port's last ("COM3  done") is wider than 12 columns;
    // the download's bar is wider than 30.
    StartPrinter(3);
    AddPrinter(4);
    const std::string kfd = Kfd("a.kfd", kana);
    EXPECT_EQ(ScreenOf(12, {"provision", File("plan.txt", "1 a.kfd\n"), "--port", "3,4"}),
              (std::vector<std::string>{"COM3  done", "COM4  done", ""}));
    EXPECT_EQ(ScreenOf(30, {"download", kfd, "--id", "2", "--port", "3"}),
              (std::vector<std::string>{"[#######################] 5/5", ""}));
    StopPrinter();
    EXPECT_NE(memory.Find(2), nullptr);
}

TEST_F(ConsoleTest, EveryLineMeansOneThing) {
    StartPrinter(7); // one printer on a COM port
    std::string a, dropper, echo;
    AddNetworkPrinter(&a);
    vprinter::FaultPlan drop;
    drop.dropLinkCharacter = 2;
    AddNetworkPrinter(&dropper, drop);
    NetworkFaults echoing;
    echoing.notPrinter = vprinter::NonPrinterOptions{};
    echoing.notPrinter->kind = NonPrinterKind::Echo;
    AddNetworkPrinter(&echo, {}, echoing);
    const std::string tcpPort = a.substr(a.find(':') + 1);
    // Two folders whose names the code page writes alike, a name it cannot
    // write at all.
    mkdir((WorkDir() + "/Jos\xC3\xA9" + "e").c_str(), 0755);
    mkdir((WorkDir() + "/Josee").c_str(), 0755);
    const std::string accent = WorkDir() + "/Jos\xC3\xA9" + "e/";
    WriteKfd(accent + "x.kfd", "ACCENT", kIpaGothicCp932, 10, {0x41, 0x42});
    WriteKfd(WorkDir() + "/Josee/x.kfd", "PLAIN", kIpaGothicCp932, 10, {0x41});
    const std::string x = WinePath(accent + "x.kfd");
    const std::string emoji = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xF0\x9F\x98\x80.kfd";
    WriteKfd(WorkDir() + "/" + emoji, "EMOJI", kIpaGothicCp932, 10, {0x41});
    const std::string plan = File("plan.txt", "2 " + emoji + "\n");
    const std::string one = File("one.txt", a + "\n");
    const struct {
        std::vector<std::string> args;
        int status;             // -1: any but 0
        std::string says;       // on standard output or error
        bool interrupt = false; // Ctrl+C 0.3 s after the start, the Wine server idle
    } cases[] = {
        // A file is the file named, in any script.
        {{"download", x, "--id", "8", "--port", "7"}, 0, "ID08 ACCENT "},
        {{"show", x}, 0, "name=ACCENT\n"},
        {{"check", x}, 0, "count=2\n"},
        {{"glyphs", x, "--out", WinePath(accent + "x.png")}, 0, "n=2 "},
        {{"build", "--face", "IPA\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", "--size", "9",
          "--name", "NEW", "--text", "A", "--out", WinePath(accent + "new.kfd")},
         0,
         "n=1 "},
        {{"download", WinePath(WorkDir() + "/" + emoji), "--id", "9", "--port", "7"},
         0,
         "ID09 EMOJI "},
        {{"download", WinePath(WorkDir() + "/" + emoji), "--id", "9", "--port",
          a + "," + RefusingAddress()},
         1,
         "1 of 2 printers did not finish"},
        {{"provision", plan, "--port", a, "--json"}, 0, R"("status":"ok","changed":true,)"},
        // An option said twice, or two that say opposite things.
        {{"list", "--port", "7", "--port", a}, 2, "--port is given more than once"},
        {{"list", "--ports-file", one, "--ports-file", one}, 2, "--ports-file is given more"},
        {{"download", x, "--id", "5", "--id", "6", "--port", "7"}, 2, "--id is given more"},
        {{"clear", "--port", "7", "--confirm", "no", "--yes"}, 2, "contradict each other"},
        {{"clear", "--port", "7", "--yes", "--confirm", "no"}, 2, "contradict each other"},
        {{"check", x, "--size", "12"}, 2, "check takes the form's options or one FILE.kfd"},
        // One printer is a list of one.
        {{"list", "--port", "7", "--jobs", "0"}, 2, "--jobs takes the number of printers"},
        {{"list", "--port", "7", "--jobs", "abc"}, 2, "--jobs takes the number of printers"},
        {{"delete", "--id", "42", "--port", "7", "--confirm", "yes"},
         0,
         "登録データがありません。"},
        {{"delete", "--id", "42", "--port", "7", "--yes", "--json"},
         0,
         R"({"printer":"COM7","address":"COM7","status":"ok","changed":false,)"},
        // An echo is no printer that holds nothing.
        {{"delete", "--id", "5", "--port", echo, "--confirm", "yes"},
         1,
         echo + " からの応答はプリンタの応答ではありません。"},
        {{"clear", "--port", echo, "--confirm", "yes"},
         1,
         echo + " からの応答はプリンタの応答ではありません。"},
        // A zone on the loopback names no other printer.
        {{"list", "--port", "[::1]:" + tcpPort + ",[::1%1]:" + tcpPort}, 2, "reach one printer"},
        // A printer that took characters was reached at its address.
        {{"download", x, "--id", "3", "--port", dropper, "--json"},
         1,
         R"("address":")" + dropper + R"(","status":"failed","changed":true,)"},
        // A printer list: a duplicate named with its lines, comments after
        // an address.
        {{"list", "--ports-file", File("twice.txt", a + "\n# x\n" + a + "\n")},
         2,
         "twice.txt names " + a + " twice (lines 1 and 3)"},
        {{"list", "--ports-file", File("bay.txt", a + "   # bay 3\n"), "--json"},
         0,
         R"({"printer":")" + a + R"(","address":")"},
        // Ctrl+C while Wine starts ends the command before it sends anything.
        {{"download", x, "--id", "4", "--port", "7"}, -1, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
        std::atomic<bool> interrupt{false};
        std::thread ctrlC;
        if (c.interrupt) {
            ASSERT_TRUE(WinRun({"--wait-idle"}));
            ctrlC = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                interrupt = true;
            });
        }
        const ProcessResult r = Cli(c.args, 60000, &interrupt);
        if (ctrlC.joinable())
            ctrlC.join();
        if (c.status < 0)
            EXPECT_NE(r.exitCode, 0) << r.out << r.err;
        else
            EXPECT_EQ(r.exitCode, c.status) << r.out << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
    }
    EXPECT_EQ(access((accent + "new.kfd").c_str(), F_OK), 0);
    EXPECT_NE(access((WorkDir() + "/Josee/new.kfd").c_str(), F_OK), 0);
    StopPrinter();
    // Nothing of the refused clears or the interrupted download reached it.
    ASSERT_NE(memory.Find(8), nullptr);
    EXPECT_EQ(memory.Find(8)->CharacterCount(), 2u); // ACCENT's, not PLAIN's
    EXPECT_EQ(memory.Find(4), nullptr);
}

} // namespace
