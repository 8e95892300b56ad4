// glyphkit-cli provision under Wine against several virtual printers at once:
// the plan checked before any port opens, every port's outcome, the clear
// option, download on several ports, and Ctrl+C. These tests run in a Wine
// prefix of their own, whose COM ports the other integration tests never map.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <future>

#include "tests/integration/virtual_printer_fixture.h"

using namespace integration;
using vprinter::FaultPlan;
using vprinter::RegistrationMemory;

namespace {

std::string Output(const ProcessResult& r) {
    return r.out + r.err;
}

class ProvisionTest : public VirtualPrinterTest {
protected:
    // A font data file of n characters at the point size, in the work folder,
    // registered as regName (by default "F" and the count).
    std::string Kfd(const std::string& name, std::vector<uint16_t> codes, int points = 10,
                    std::string regName = "") {
        RunProcess({"mkdir", "-p", WorkDir() + "/fonts"}, 10000);
        if (regName.empty())
            regName = "F" + std::to_string(codes.size());
        WriteKfd(WorkDir() + "/" + name, regName, kIpaGothicCp932, points, codes);
        return name;
    }
    // The plan file, with a BOM, a comment and a blank line before the lines.
    std::string Plan(const std::string& lines) {
        std::ofstream(WorkDir() + "/plan.txt") << "\xEF\xBB\xBF# plan\n\n" << lines;
        return WinePath(WorkDir() + "/plan.txt");
    }
    // The two-font plan: ABC as ID 1, five kana as ID 2 from a subfolder.
    std::string TwoFontPlan() {
        Kfd("a.kfd", abc);
        Kfd("fonts/b.kfd", kana);
        return Plan("1 a.kfd\n2  fonts/b.kfd\n");
    }
    // What a printer holds: "ID01 F3 3, ID02 F5 5" (ID, name, characters).
    static std::string Holds(const RegistrationMemory& m) {
        std::string text;
        for (const vprinter::StoredFont& f : m.Entries()) {
            const char* name = reinterpret_cast<const char*>(f.info.data()) + 4;
            text += (text.empty() ? "ID" : ", ID") +
                    std::string(f.info.begin(), f.info.begin() + 2) + " " +
                    std::string(name, strnlen(name, 32)) + " " + std::to_string(f.CharacterCount());
        }
        return text;
    }
    static void ExpectHoldsPlan(const RegistrationMemory& m) {
        ASSERT_NE(m.Find(1), nullptr);
        ASSERT_NE(m.Find(2), nullptr);
        EXPECT_EQ(m.Find(1)->CharacterCount(), 3u);
        EXPECT_EQ(m.Find(2)->CharacterCount(), 5u);
    }
    const std::vector<uint16_t> abc{0x41, 0x42, 0x43};
    const std::vector<uint16_t> kana{0x3042, 0x3044, 0x3046, 0x3048, 0x304A};
};

TEST_F(ProvisionTest, FourPortsAllStoreThePlan) {
    std::vector<RegistrationMemory*> printers;
    for (int port : {1, 2, 3, 4})
        printers.push_back(&AddPrinter(port));
    const ProcessResult r = Cli({"provision", TwoFontPlan(), "--port", "1,2,3,4"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    for (int port : {1, 2, 3, 4})
        EXPECT_NE(r.out.find("COM" + std::to_string(port) + " ok: ID01 ID02, memory "),
                  std::string::npos)
            << Output(r);
    StopPrinter();
    for (RegistrationMemory* m : printers)
        ExpectHoldsPlan(*m);
}

TEST_F(ProvisionTest, SilentPrinterFailsWhileTheOtherThreeComplete) {
    FaultPlan silent;
    silent.silent = true;
    RegistrationMemory& a = AddPrinter(5);
    RegistrationMemory& b = AddPrinter(6);
    RegistrationMemory& quiet = AddPrinter(7, silent);
    RegistrationMemory& c = AddPrinter(8);
    const ProcessResult r = Cli({"provision", TwoFontPlan(), "--port", "5,6,7,8"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(r.out.find("COM7 failed at line 3 (ID 01, a.kfd): 登録に失敗しました。"),
              std::string::npos)
        << Output(r);
    for (const char* ok : {"COM5 ok", "COM6 ok", "COM8 ok"})
        EXPECT_NE(r.out.find(ok), std::string::npos) << Output(r);
    StopPrinter();
    for (RegistrationMemory* m : {&a, &b, &c})
        ExpectHoldsPlan(*m);
    EXPECT_TRUE(quiet.Empty());
}

TEST_F(ProvisionTest, BadPlanIsRefusedBeforeAnyPortOpens) {
    StartPrinter(9);
    Kfd("a.kfd", abc);
    Kfd("b.kfd", kana);
    // 500 kanji at 24 points: some 600 bytes a glyph, over 300 KB in all.
    Kfd("big.kfd", Cp932Kanji(500), 24);
    const struct {
        const char* plan;
        const char* expect;
    } cases[] = {
        {"1 a.kfd\n# again\n1 b.kfd\n", "plan.txt line 5: この登録IDは3行目にもあります。"},
        {"1 a.kfd\n2 missing.kfd\n",
         "plan.txt line 4: ダウンロードフォントファイルの読み込みに失敗しました。"},
        {"100 a.kfd\n", "plan.txt line 3: 登録IDは0～99の範囲で指定してください。"},
        {"1 a.kfd\n2 big.kfd\n", "plan.txt line 4: with this registration the plan takes "},
        {"# nothing\n", "plan.txt: 登録する内容が1行もありません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plan);
        const ProcessResult r = Cli({"provision", Plan(c.plan), "--port", "9"});
        EXPECT_EQ(r.exitCode, 2) << Output(r);
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << Output(r);
        EXPECT_EQ(r.out, "");
    }
    const vprinter::WireTranscript t = StopPrinter();
    EXPECT_TRUE(t.received.empty());
    EXPECT_TRUE(memory.Empty());
}

TEST_F(ProvisionTest, ClearEmptiesAPrinterThatHeldOtherFonts) {
    RegistrationMemory seed;
    seed.Store(vprinter::MakeLogo(7, "LOGO", 16, 16));
    seed.Store(SampleFont(2, "OLD", 40));
    StartPrinter(10, {}, seed);
    const ProcessResult r = Cli({"provision", TwoFontPlan(), "--port", "10", "--clear"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(r.out.find("COM10 ok: ID01 ID02, memory "), std::string::npos) << Output(r);
    StopPrinter();
    ExpectHoldsPlan(memory);
    EXPECT_EQ(memory.Entries().size(), 2u);
}

TEST_F(ProvisionTest, DownloadOnSeveralPortsIsAPlanOfOneLine) {
    RegistrationMemory& first = AddPrinter(11);
    RegistrationMemory& second = AddPrinter(12);
    const std::string kfd = WinePath(WorkDir() + "/" + Kfd("a.kfd", abc));
    const ProcessResult r = Cli({"download", kfd, "--id", "4", "--port", "11,12"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(r.out.find("COM11 ok: ID04, memory "), std::string::npos) << Output(r);
    EXPECT_NE(r.out.find("COM12 ok: ID04, memory "), std::string::npos) << Output(r);
    StopPrinter();
    for (RegistrationMemory* m : {&first, &second}) {
        ASSERT_NE(m->Find(4), nullptr);
        EXPECT_EQ(m->Find(4)->CharacterCount(), 3u);
    }
}

TEST_F(ProvisionTest, CtrlCStopsEveryPortAndReportsNoSuccess) {
    // Paced printers: 300 kanji take seconds, and Ctrl+C comes as the first
    // printer is told of them.
    line.baud = 115200;
    std::atomic<bool> interrupt{false};
    onPrinterNote = [&](const std::string& note) {
        if (note.rfind("download header: ID 3", 0) == 0)
            interrupt = true;
    };
    RegistrationMemory& first = AddPrinter(13);
    RegistrationMemory& second = AddPrinter(14);
    Kfd("a.kfd", abc);
    Kfd("big.kfd", Cp932Kanji(300));
    const ProcessResult r =
        Cli({"provision", Plan("1 a.kfd\n3 big.kfd\n"), "--port", "13,14"}, 60000, &interrupt);
    EXPECT_TRUE(interrupt);
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(r.out.find("COM13 cancelled at line 4 (ID 03, big.kfd)"), std::string::npos)
        << Output(r);
    EXPECT_NE(r.out.find("COM14 cancelled"), std::string::npos) << Output(r);
    EXPECT_EQ(r.out.find(" ok"), std::string::npos) << Output(r);
    EXPECT_NE(r.err.find("glyphkit-cli: interrupted"), std::string::npos) << Output(r);
    StopPrinter();
    for (RegistrationMemory* m : {&first, &second}) {
        EXPECT_NE(m->Find(1), nullptr);
        EXPECT_EQ(m->Find(3), nullptr);
    }
}

TEST_F(ProvisionTest, AcknowledgedFontThatThePrinterDidNotKeepFailsThePort) {
    // The printer on COM15 holds KANA as ID 02, stored by an earlier run, and
    // then acknowledges the fifth character of every download without
    // keeping the download: NEWKANA, of the same cell, seems to go through.
    RegistrationMemory& earlier = AddPrinter(16);
    Kfd("kana.kfd", kana, 10, "KANA");
    Kfd("new.kfd", kana, 10, "NEWKANA");
    ASSERT_EQ(Cli({"provision", Plan("2 kana.kfd\n"), "--port", "16"}).exitCode, 0);
    StopPrinterOn(16);
    FaultPlan keepsTheOld;
    keepsTheOld.wrongAckCharacter = 5;
    keepsTheOld.wrongAckByte = 0x06;
    RegistrationMemory& printer = AddPrinter(15, keepsTheOld, earlier);
    const ProcessResult r =
        Cli({"provision", Plan("2 new.kfd\n"), "--port", "15", "--overwrite", "yes"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_EQ(r.out, "COM15 failed at the listing: ID02 is listed as \"KANA\", not \"NEWKANA\"\n")
        << Output(r);
    StopPrinterOn(15);
    ASSERT_NE(printer.Find(2), nullptr);
    EXPECT_EQ(printer.Find(2)->CharacterCount(), 5u);
}

TEST_F(ProvisionTest, FaceThatIsNotInstalledIsNamedOncePerFileOnEveryPath) {
    AddPrinter(17);
    AddPrinter(18);
    // ABC in a face of character set 128 that this workstation lacks: a
    // substitute face draws them.
    Kfd("noface.kfd", abc);
    std::fstream(WorkDir() + "/noface.kfd", std::ios::in | std::ios::out | std::ios::binary)
        .seekp(10 + 104)
        .write("NoSuchFace\0", 11);
    std::fstream(WorkDir() + "/noface.kfd", std::ios::in | std::ios::out | std::ios::binary)
        .seekp(10 + 76)
        .put(char(128));
    const std::string named = "フォント「NoSuchFace」はインストールされていません。";
    const std::string kfd = WinePath(WorkDir() + "/noface.kfd");
    const std::vector<std::vector<std::string>> runs{
        {"provision", Plan("1 noface.kfd\n"), "--port", "17,18"},
        {"download", kfd, "--id", "2", "--port", "17,18"},
        {"download", kfd, "--id", "3", "--port", "17"},
        {"check", kfd},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run[0] + " " + run.back());
        const ProcessResult r = Cli(run);
        EXPECT_EQ(r.exitCode, 0) << Output(r);
        const size_t at = r.err.find(named);
        EXPECT_NE(at, std::string::npos) << Output(r);
        EXPECT_EQ(r.err.find(named, at + 1), std::string::npos) << Output(r);
    }
}

TEST_F(ProvisionTest, CtrlCWhileThePlanIsReadEndsTheRunAsAFailure) {
    // 1000 private-use characters that IPAゴシック has no glyph for: reading
    // the plan lists them on standard error, more than its pipe holds, so the
    // program stops there until Ctrl+C, with no port open.
    std::vector<uint16_t> privateUse;
    for (uint16_t code = 0xE000; code < 0xE000 + 1000; ++code)
        privateUse.push_back(code);
    StartPrinter(19);
    Kfd("pua.kfd", privateUse);
    const ProcessResult r =
        CliInterruptedWhenErrFull({"provision", Plan("1 pua.kfd\n"), "--port", "19"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("no glyph for 1000 characters"), std::string::npos)
        << r.err.substr(0, 300);
    EXPECT_TRUE(StopPrinter().received.empty());
    EXPECT_TRUE(memory.Empty());
}

TEST_F(ProvisionTest, CtrlCInTheMiddleOfADownloadSaysSoAndFails) {
    // The printer holds its ACK of the third character until the program has
    // ended, Ctrl+C coming meanwhile.
    std::atomic<bool> interrupt{false};
    std::promise<void> ended;
    std::shared_future<void> programEnded = ended.get_future().share();
    onPrinterCharacter = [&](int k) {
        if (k != 3)
            return;
        interrupt = true;
        programEnded.wait_for(std::chrono::seconds(60));
    };
    StartPrinter(20);
    const std::string kfd = WinePath(WorkDir() + "/" + Kfd("kana.kfd", kana));
    const ProcessResult r = Cli({"download", kfd, "--id", "3", "--port", "20"}, 60000, &interrupt);
    ended.set_value();
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(r.err.find("glyphkit-cli: interrupted\n"), std::string::npos) << Output(r);
    EXPECT_EQ(r.out.find("登録完了しました。"), std::string::npos) << Output(r);
    StopPrinter();
    EXPECT_EQ(memory.Find(3), nullptr);
}

// A sound printer and one at fault on the network, in each case anew: the
// summary of both, the exit status and what each printer holds after.
TEST_F(ProvisionTest, NetworkFaultFailsOnlyItsPrinterAndReportsWhatItHolds) {
    const std::string plan = TwoFontPlan();
    RegistrationMemory older;
    older.Store(SampleFont(1, "OLD", 3));
    RegistrationMemory leftByTheReset; // filled by the reset's case
    enum class Fault { Refused, NeverAccepts, ResetAt4, SilentFrom4, Older, Sound };
    const std::string fails = " failed at line 3 (ID 01, a.kfd): ";
    const std::string lostLine4 =
        " failed at line 4 (ID 02, fonts/b.kfd): プリンタ @ との接続が切れ"
        "ました。 プリンタの状態を確認してから、もう一度実行してください。";
    const std::string plan12 = "ID01 F3 3, ID02 F5 5";
    const struct {
        Fault fault;
        const RegistrationMemory* seed;
        std::vector<std::string> options;
        int status;
        std::string summary; // of the printer at fault, @ for its address
        std::string holds;
    } cases[] = {
        {Fault::Refused,
         nullptr,
         {},
         1,
         " failed: プリンタ @ に接続できませんでした。接続を拒否されました。 アドレスとポート番号を"
         "確認してください。",
         ""},
        {Fault::NeverAccepts,
         nullptr,
         {},
         1,
         fails + "登録に失敗しました。 プリンタ @ から時間内に応答がありませんでした。",
         ""},
        // Characters 4 of ID 01 (three of them) and of ID 02: the second breaks.
        {Fault::ResetAt4, nullptr, {}, 1, lostLine4, "ID01 F3 3"},
        {Fault::SilentFrom4,
         nullptr,
         {},
         1,
         " failed at line 4 (ID 02, fonts/b.kfd): 登録に失敗しました。 プリンタ @ から 4 "
         "文字目の応答が時間内にありませんでした。",
         "ID01 F3 3"},
        // The run after the partial failure sends only what is missing.
        {Fault::Sound,
         &leftByTheReset,
         {"--converge"},
         0,
         " ok: ID02, kept ID01, memory 1/240 KB",
         plan12},
        {Fault::Older,
         &older,
         {},
         1,
         fails + "ID 01 is registered already and --overwrite is no",
         "ID01 OLD 3"},
        {Fault::Older,
         &older,
         {"--overwrite", "yes"},
         0,
         " ok: ID01 ID02, memory 1/240 KB",
         plan12},
        {Fault::Older, &older, {"--converge"}, 0, " ok: ID01 ID02, memory 1/240 KB", plan12},
        {Fault::Older,
         &older,
         {"--converge", "--overwrite", "no"},
         1,
         fails + "ID 01 is registered already and --overwrite is no",
         "ID01 OLD 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.fault));
        std::string sound, faulty;
        RegistrationMemory& soundMemory = AddNetworkPrinter(&sound);
        FaultPlan faults;
        faults.dropLinkCharacter = c.fault == Fault::ResetAt4 ? 4 : 0;
        NetworkFaults network;
        network.acceptDelayMs = c.fault == Fault::NeverAccepts ? 600000 : 0;
        network.silentFromCharacter = c.fault == Fault::SilentFrom4 ? 4 : 0;
        RegistrationMemory none;
        RegistrationMemory* memory = &none;
        if (c.fault == Fault::Refused)
            faulty = RefusingAddress();
        else
            memory = &AddNetworkPrinter(&faulty, faults, network, c.seed ? *c.seed : none);
        std::vector<std::string> args{"provision", plan, "--port", sound + "," + faulty};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, c.status) << r.err;
        std::string summary = faulty + c.summary;
        for (size_t at; (at = summary.find('@')) != std::string::npos;)
            summary.replace(at, 1, faulty);
        EXPECT_EQ(r.out, sound + " ok: ID01 ID02, memory 1/240 KB\n" + summary + "\n") << r.err;
        StopPrinterAt(sound);
        EXPECT_EQ(Holds(soundMemory), plan12);
        if (c.fault != Fault::Refused)
            StopPrinterAt(faulty);
        EXPECT_EQ(Holds(*memory), c.holds);
        if (c.fault == Fault::ResetAt4)
            leftByTheReset = *memory;
    }
}

// 64 printers on the network, 16 at a time, each reported as a JSON line;
// then a converging run finds each holding the plan, lists it once and
// sends it nothing.
TEST_F(ProvisionTest, SixtyFourNetworkPrintersConvergeAfterwardsWithoutSending) {
    std::vector<std::string> addresses(64);
    std::vector<RegistrationMemory*> printers;
    std::string list;
    for (std::string& address : addresses) {
        printers.push_back(&AddNetworkPrinter(&address));
        list += (list.empty() ? "" : ",") + address;
    }
    const std::string plan = TwoFontPlan();
    const struct {
        bool converge;
        const char* ids;
        const char* changed;
    } runs[] = {{false, R"("stored":[1,2],"kept":[])", "true"},
                {true, R"("stored":[],"kept":[1,2])", "false"}};
    for (const auto& run : runs) {
        std::vector<std::string> args{"provision", plan, "--port", list, "--jobs", "16", "--json"};
        if (run.converge)
            args.push_back("--converge");
        const ProcessResult r = Cli(args, 300000);
        EXPECT_EQ(r.exitCode, 0) << r.err.substr(0, 2000);
        std::string expected;
        for (const std::string& address : addresses)
            expected += R"({"printer":")" + address + R"(","address":")" + address +
                        R"(","status":"ok","changed":)" + run.changed +
                        R"(,"step":"done","message":"",)" + run.ids + R"(,"memory":1520})" + "\n";
        EXPECT_EQ(r.out, expected);
    }
    for (size_t i = 0; i < addresses.size(); ++i) {
        const vprinter::WireTranscript t = StopPrinterAt(addresses[i]);
        const auto count = [&](const std::string& note) {
            return std::count_if(t.notes.begin(), t.notes.end(),
                                 [&](const std::string& n) { return n.rfind(note, 0) == 0; });
        };
        // Two connections; the two registrations were sent in the first.
        EXPECT_EQ(count("connection from"), 2) << addresses[i];
        EXPECT_EQ(count("download header"), 2) << addresses[i];
        ExpectHoldsPlan(*printers[i]);
    }
}

} // namespace
