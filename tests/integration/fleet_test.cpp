// glyphkit-cli's inventory and upkeep of many printers under Wine, against
// virtual printers on the network: list, delete and clear on a list of
// printers and on a printer list file, their blocks, table and JSON, and the
// reasons every status but 0 comes with.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/integration/virtual_printer_fixture.h"

using namespace integration;
using vprinter::RegistrationMemory;

namespace {

class FleetTest : public VirtualPrinterTest {
protected:
    std::string File(const std::string& name, const std::string& content) {
        std::ofstream(WorkDir() + "/" + name, std::ios::binary) << content;
        return WinePath(WorkDir() + "/" + name);
    }
    // Three printers: one holding ID05 and ID07, one holding ID05, one empty.
    void StartThree() {
        RegistrationMemory both, five;
        both.Store(SampleFont(5, "FIVE", 2));
        both.Store(SampleFont(7, "SEVEN", 1));
        five.Store(SampleFont(5, "FIVE", 2));
        memories = {&AddNetworkPrinter(&a, {}, {}, both), &AddNetworkPrinter(&b, {}, {}, five),
                    &AddNetworkPrinter(&c)};
    }
    std::string a, b, c;
    std::vector<RegistrationMemory*> memories;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(FleetTest, ListDeleteAndClearOnManyPrinters) {
    StartThree();
    const std::string refused = RefusingAddress();
    const std::string file =
        File("site.txt", "\xEF\xBB\xBF# site A\n\n  " + b + "  \n" + c + "\n# end\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> out;   // parts of standard output
        std::string err;                // a part of standard error
        std::vector<std::string> holds; // IDs of a, b, c afterwards
    } cases[] = {
        {{"list", "--port", a, "--ports-file", file},
         0,
         {a + "\n  ID05 FIVE 144byte\n  ID07 SEVEN 72byte\n  0/240 KB\n",
          b + "\n  ID05 FIVE 144byte\n", "registrations  memory      status\n",
          c + "  0              0/240 KB    ok\n"},
         "",
         {"5 7", "5", ""}},
        {{"list", "--port", a + "," + refused, "--json"},
         1,
         {R"({"printer":")" + a + R"(","address":")" + a +
              R"(","status":"ok","changed":false,)"
              R"("message":"","entries":[{"id":5,)",
          R"({"printer":")" + refused +
              R"(","address":null,"status":"failed","changed":false,)"
              R"("message":"プリンタ )" +
              refused + " に接続できませんでした。"},
         "1 of 2 printers did not answer as asked",
         {"5 7", "5", ""}},
        {{"delete", "--id", "5", "--ports-file", file},
         2,
         {},
         "Delete ID05 on 2 printers needs --yes when there is no console to ask",
         {"5 7", "5", ""}},
        {{"delete", "--id", "5", "--port", a + "," + c, "--confirm", "no"},
         1,
         {},
         "declined: nothing was deleted",
         {"5 7", "5", ""}},
        {{"delete", "--id", "5", "--port", a + "," + b + "," + c, "--yes", "--json"},
         0,
         {R"("status":"ok","changed":true,"message":"データ削除に成功しました。","entries":[{"id":7,)",
          R"("printer":")" + c + R"(","address":")" + c +
              R"(","status":"ok","changed":false,"message":"登録データがありません。","entries":[],)"},
         "",
         {"7", "", ""}},
        {{"clear", "--port", a + "," + c, "--yes"},
         0,
         {a + "\n  データ削除に成功しました。\n  0/240 KB\n",
          c + "\n  登録データがありません。\n  0/240 KB\n"},
         "",
         {"", "", ""}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.args[0] + " " + k.args[1] + " " + k.args[2]);
        const ProcessResult r = Cli(k.args);
        EXPECT_EQ(r.exitCode, k.status) << r.out << r.err;
        for (const std::string& part : k.out)
            EXPECT_TRUE(Has(r.out, part)) << part << "\nin:\n" << r.out << r.err;
        EXPECT_TRUE(Has(r.err, k.err)) << r.err;
        for (size_t i = 0; i < memories.size(); ++i) {
            std::string ids;
            for (const auto& entry : memories[i]->Entries())
                ids += (ids.empty() ? "" : " ") + std::to_string(entry.Id());
            EXPECT_EQ(ids, k.holds[i]) << "printer " << i;
        }
    }
}

TEST_F(FleetTest, PrinterListsAndReasonsForEveryFailure) {
    StartThree();
    const std::string port = b.substr(b.find(':') + 1);
    std::string many;
    for (int i = 0; i < 10000; ++i)
        many +=
            "127.0.0." + std::to_string(1 + i % 250) + ":" + std::to_string(20000 + i / 250) + "\n";
    const std::string kfd = WorkDir() + "/a.kfd";
    WriteKfd(kfd, "NEW", kIpaGothicCp932, 10, {0x41});
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out; // a part of standard output
        std::string err; // a part of standard error
    } cases[] = {
        // A bad line is named with its file and line number, before any printer opens.
        {{"list", "--ports-file", File("bad.txt", "# x\n" + a + "\n127.1\n")},
         2,
         "",
         "bad.txt line 3: a COM port number from 1 to 20 or a printer's address"},
        // The same printer in the file and on the command line.
        {{"list", "--port", "localhost:" + port, "--ports-file", File("twice.txt", b + "\n")},
         2,
         "",
         "--port names localhost:" + port + " and " + b + ", which reach one printer"},
        // 10,000 printers are read and told apart before any is opened; the
        // first one named twice ends it.
        {{"list", "--ports-file", File("many.txt", many + "127.0.0.1:20000\n")},
         2,
         "",
         "many.txt names 127.0.0.1:20000 twice (lines 1 and 10001)"},
        // A declined overwrite says which ID is held and how to replace it.
        {{"download", WinePath(kfd), "--id", "5", "--port", b},
         1,
         "",
         "ID05 is registered already and was kept; --overwrite yes replaces it"},
        // A printer that cannot be reached says so in its progress.
        {{"list", "--port", a + "," + RefusingAddress()}, 1, "", "failed while connecting"},
        // The JSON names a printer as the messages do.
        {{"list", "--port", "LOCALHOST:" + port, "--json"},
         0,
         R"({"printer":"LOCALHOST:)" + port + R"(","address":"127.0.0.1:)" + port + "\"",
         ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.args[0] + " " + k.args[1]);
        const ProcessResult r = Cli(k.args, 120000);
        EXPECT_EQ(r.exitCode, k.status) << r.out << r.err;
        EXPECT_TRUE(Has(r.out, k.out)) << r.out;
        EXPECT_TRUE(Has(r.err, k.err)) << r.err;
    }
}

// The example playbook, run as a site would run it, with a local connection:
// the first run changes the printers, the second finds them holding the plan,
// and a printer at fault fails the play by name.
TEST_F(FleetTest, ThePlaybookConvergesAndNamesAFaultyPrinter) {
    StartThree();
    vprinter::FaultPlan silent;
    silent.silent = true;
    std::string faulty;
    AddNetworkPrinter(&faulty, silent);
    WriteKfd(WorkDir() + "/a.kfd", "NEW", kIpaGothicCp932, 10, {0x41, 0x42});
    const std::string plan = File("plan.txt", "3 a.kfd\n");
    File("sound.txt", a + "\n" + b + "\n");
    File("all.txt", a + "\n" + b + "\n" + faulty + "\n");
    const auto play = [&](const std::string& ports) {
        const std::string vars = R"({"ansible_python_interpreter":"/usr/bin/python3",)"
                                 R"("glyphkit_command":[")" +
                                 SourceDir() + R"(/scripts/winrun",")" + WindowsBinDir() +
                                 R"(/glyphkit-cli.exe"],"glyphkit_plan":")" + WorkDir() +
                                 R"(/plan.txt","glyphkit_ports_file":")" + ports + R"("})";
        const ProcessResult r =
            RunProcess({"env", "LC_ALL=C.UTF-8", "ANSIBLE_STDOUT_CALLBACK=json",
                        "ANSIBLE_LOCAL_TEMP=" + WorkDir() + "/ansible", "ANSIBLE_NOCOLOR=1",
                        "ansible-playbook", "-i", "localhost,", "-c", "local", "-e", vars,
                        SourceDir() + "/docs/ansible/provision.yml"},
                       240000);
        return r.out + r.err;
    };
    // The json callback ends with the stats of each host.
    const auto stats = [](const std::string& out) {
        return out.substr(std::min(out.size(), out.rfind("\"stats\"")));
    };
    const std::string first = play(WorkDir() + "/sound.txt");
    EXPECT_TRUE(Has(stats(first), "\"changed\": 1,")) << first;
    EXPECT_TRUE(Has(stats(first), "\"failures\": 0,")) << first;
    const std::string second = play(WorkDir() + "/sound.txt");
    EXPECT_TRUE(Has(stats(second), "\"changed\": 0,")) << second;
    EXPECT_TRUE(Has(stats(second), "\"failures\": 0,")) << second;
    ASSERT_NE(memories[0]->Find(3), nullptr);
    EXPECT_EQ(memories[0]->Find(3)->CharacterCount(), 2u);
    const std::string third = play(WorkDir() + "/all.txt");
    EXPECT_TRUE(Has(stats(third), "\"failures\": 1,")) << third;
    // The json callback writes the message escaped: the printer and the step.
    EXPECT_TRUE(Has(third, "\"msg\": \"" + faulty + ": failed at first_listing: ")) << third;
    EXPECT_EQ(memories[2]->Find(3), nullptr); // c was never in the plan's list
}

} // namespace
