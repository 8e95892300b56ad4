// glyphkit-cli under Wine against the virtual printer: what the operator reads,
// the exit status, and every byte on the line, written out by hand from the
// command tables.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "fontdata/byte_order.h"
#include "tests/integration/virtual_printer_fixture.h"
#include "tools/vprinter/state_file.h"

using namespace integration;
using vprinter::FaultPlan;
using vprinter::MakeLogo;
using vprinter::RegistrationMemory;
using vprinter::StoredFont;
using vprinter::WireTranscript;

namespace {

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes kInfoRequest{0x01, 0x46, 0x47};
const Bytes kProceed{0x02, 0x30, 0x03};
const Bytes kCancel{0x02, 0x31, 0x03};
const Bytes kDeleteAll{0x1B, 0x41, 0x1B, 0x2A, 0x46, 0x1B, 0x5A};
const Bytes kDownloadStart{0x02, 0x1B, 0x41, 0x1B, 0x46, 0x44};
const Bytes kHeaderEnd{0x1B, 0x5A, 0x03};
const Bytes kReplyA{0x02, 0x41, 0x03}, kReplyB{0x02, 0x42, 0x03}, kReplyE{0x02, 0x45, 0x03},
    kReplyN{0x02, 0x4E, 0x03}, kReplyO{0x02, 0x4F, 0x03}, kReplyS{0x02, 0x53, 0x03};
const Bytes kInfoReplyEmpty{0x02, 0x41, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x03};

std::string Output(const ProcessResult& r) {
    return r.out + r.err;
}

// What the tool sent for one download: the block and the frames after Proceed.
struct DownloadOnWire {
    Bytes block;
    uint32_t bytesPerGlyph = 0;
    Bytes afterHeader; // everything after the header end block
};

DownloadOnWire SplitDownload(const Bytes& rx) {
    DownloadOnWire d;
    EXPECT_GE(rx.size(), 109u);
    if (rx.size() < 109)
        return d;
    EXPECT_EQ(Bytes(rx.begin(), rx.begin() + 6), kDownloadStart);
    d.block.assign(rx.begin() + 6, rx.begin() + 106);
    EXPECT_EQ(Bytes(rx.begin() + 106, rx.begin() + 109), kHeaderEnd);
    d.bytesPerGlyph = ReadBE32(&d.block[56]);
    d.afterHeader.assign(rx.begin() + 109, rx.end());
    return d;
}

// Checks that `bytes` starts with `n` character frames for `codes` and
// returns what follows them.
Bytes ExpectFrames(const Bytes& bytes, uint32_t perGlyph, const std::vector<uint16_t>& codes) {
    const size_t frame = 12 + perGlyph;
    if (bytes.size() < frame * codes.size()) {
        ADD_FAILURE() << "only " << bytes.size() << " bytes for " << codes.size() << " frames of "
                      << frame;
        return {};
    }
    for (size_t i = 0; i < codes.size(); ++i) {
        const uint8_t* f = &bytes[i * frame];
        EXPECT_EQ(f[0], 0x02) << "frame " << i;
        EXPECT_EQ(f[1], uint8_t(codes[i])) << "frame " << i;
        EXPECT_EQ(f[2], uint8_t(codes[i] >> 8)) << "frame " << i;
        EXPECT_EQ(f[7], 0x00) << "frame " << i;
        EXPECT_EQ(f[8], 0x00) << "frame " << i;
        EXPECT_EQ(f[frame - 1], 0x03) << "frame " << i;
    }
    return Bytes(bytes.begin() + long(frame * codes.size()), bytes.end());
}

// ---- Listing ----

TEST_F(VirtualPrinterTest, ListingOfAnEmptyPrinter) {
    StartPrinter(2);
    const ProcessResult r = Cli({"list", "--port", "2"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("取得完了しました。登録されているデータはありません。"),
              std::string::npos)
        << Output(r);
    EXPECT_NE(Output(r).find("メモリ使用量　0/240Kbyte"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, kInfoRequest);
    EXPECT_EQ(t.sent, kInfoReplyEmpty);
}

TEST_F(VirtualPrinterTest, ListingOfALogoAndAFont) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(3, "LOGO1", 96, 200)); // 25 x 96 = 2400 bytes
    seed.Store(SampleFont(5, "Sample", 100));  // 7200 bytes
    StartPrinter(3, {}, seed);
    const ProcessResult r = Cli({"list", "--port", "3"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    const std::string out = Output(r);
    EXPECT_NE(out.find("ID03 LOGO1 2400byte"), std::string::npos) << out;
    EXPECT_NE(out.find("ID05 Sample 7200byte"), std::string::npos) << out;
    EXPECT_LT(out.find("ID03"), out.find("ID05"));
    // (2400 + 10) + (7200 + 1000) = 10610 bytes: 10 K.
    EXPECT_NE(out.find("メモリ使用量　10/240Kbyte"), std::string::npos) << out;
    EXPECT_NE(out.find("取得完了しました。"), std::string::npos) << out;
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, Cat({kInfoRequest, kProceed}));
    // L = 106 + 100 + 600 = 806.
    ASSERT_EQ(t.sent.size(), 11u + 1 + 806 + 1);
    EXPECT_EQ(Bytes(t.sent.begin(), t.sent.begin() + 11),
              (Bytes{0x02, 0x42, 0x30, 0x30, 0x30, 0x30, 0x30, 0x38, 0x30, 0x36, 0x03}));
    EXPECT_EQ(t.sent[11], 0x02);
    EXPECT_EQ(t.sent.back(), 0x03);
}

// ---- Download ----

class DownloadTest : public VirtualPrinterTest {
protected:
    std::string Kfd(const std::vector<uint16_t>& codes, int pointSize = 10,
                    const std::string& name = "ABC") {
        const std::string path = WorkDir() + "/font.kfd";
        WriteKfd(path, name, kIpaGothicCp932, pointSize, codes);
        return WinePath(path);
    }
    const std::vector<uint16_t> abc{0x41, 0x42, 0x43};
};

TEST_F(DownloadTest, FreeIdSendsExactlyThreeFramesAndRefreshes) {
    StartPrinter(4);
    const ProcessResult r = Cli({"download", Kfd(abc), "--id", "1", "--port", "4"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("登録完了しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    ASSERT_EQ(d.block.size(), 100u);
    EXPECT_EQ(d.block[0], '0');
    EXPECT_EQ(d.block[1], '1');
    EXPECT_EQ(Bytes(d.block.begin() + 4, d.block.begin() + 8), (Bytes{'A', 'B', 'C', 0}));
    EXPECT_EQ(Bytes(d.block.begin() + 48, d.block.begin() + 52), (Bytes{'1', '0', 0, 0}));
    EXPECT_EQ(Bytes(d.block.begin() + 60, d.block.begin() + 64), (Bytes{0, 0, 0, 3}));
    EXPECT_EQ(ReadBE32(&d.block[68]), 3 * d.bytesPerGlyph);
    // 10 points at 203 dpi: a cell some 28 dots high.
    EXPECT_GE(ReadBE16(&d.block[54]), 28);
    ASSERT_GE(d.afterHeader.size(), 3u);
    EXPECT_EQ(Bytes(d.afterHeader.begin(), d.afterHeader.begin() + 3), kProceed);
    const Bytes rest =
        ExpectFrames(Bytes(d.afterHeader.begin() + 3, d.afterHeader.end()), d.bytesPerGlyph, abc);
    // No fourth frame: the refresh follows at once.
    EXPECT_EQ(rest, Cat({kInfoRequest, kProceed}));
    ASSERT_GE(t.sent.size(), 3u + 3 + 3 + 11);
    EXPECT_EQ(Bytes(t.sent.begin(), t.sent.begin() + 9),
              Cat({kReplyA, kReplyO, {0x06, 0x06, 0x06}}));
    // 100 + 3 x 6 = 118 bytes of records.
    EXPECT_EQ(Bytes(t.sent.begin() + 9, t.sent.begin() + 20),
              (Bytes{0x02, 0x42, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x31, 0x38, 0x03}));
    const StoredFont* font = memory.Find(1);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->CharacterCount(), 3u);
    EXPECT_EQ(font->Entry(2)[0], 0x43);
}

TEST_F(DownloadTest, RegisteredIdAnsweredYesOverwrites) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(1, "OLD", 16, 16));
    StartPrinter(5, {}, seed);
    const ProcessResult r =
        Cli({"download", Kfd(abc), "--id", "1", "--port", "5", "--overwrite", "yes"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("登録完了しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    ASSERT_GE(d.afterHeader.size(), 3u);
    EXPECT_EQ(Bytes(d.afterHeader.begin(), d.afterHeader.begin() + 3), kProceed);
    ExpectFrames(Bytes(d.afterHeader.begin() + 3, d.afterHeader.end()), d.bytesPerGlyph, abc);
    ASSERT_GE(t.sent.size(), 9u);
    EXPECT_EQ(Bytes(t.sent.begin(), t.sent.begin() + 9),
              Cat({kReplyB, kReplyO, {0x06, 0x06, 0x06}}));
    ASSERT_NE(memory.Find(1), nullptr);
    EXPECT_FALSE(memory.Find(1)->IsLogo());
    EXPECT_EQ(memory.Find(1)->CharacterCount(), 3u);
}

TEST_F(DownloadTest, RegisteredIdAnsweredNoSendsCancelAndChangesNothing) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(1, "OLD", 16, 16));
    const std::string before = vprinter::FormatState(seed);
    StartPrinter(6, {}, seed);
    const ProcessResult r =
        Cli({"download", Kfd(abc), "--id", "1", "--port", "6", "--overwrite", "no"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_EQ(Output(r).find("登録完了しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    EXPECT_EQ(d.afterHeader, kCancel);
    EXPECT_EQ(t.sent, Cat({kReplyB, kReplyS}));
    EXPECT_EQ(vprinter::FormatState(memory), before);
}

TEST_F(DownloadTest, AreaUnusableIsReported) {
    // Two logos of 26 x 30000 dots (120010 bytes each) and one of 8 x 5700
    // (5710): 245730 of 245760 bytes used, so three characters cannot fit.
    RegistrationMemory seed;
    seed.Store(MakeLogo(10, "L1", 30000, 26));
    seed.Store(MakeLogo(11, "L2", 30000, 26));
    seed.Store(MakeLogo(12, "L3", 5700, 8));
    ASSERT_EQ(seed.Used(), 245730u);
    const std::string before = vprinter::FormatState(seed);
    StartPrinter(7, {}, seed);
    const ProcessResult r = Cli({"download", Kfd(abc), "--id", "1", "--port", "7"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(Output(r).find("登録領域がNGです。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    EXPECT_TRUE(d.afterHeader.empty());
    EXPECT_EQ(t.sent, kReplyN);
    EXPECT_EQ(vprinter::FormatState(memory), before);
}

TEST_F(DownloadTest, WrongByteForTheSecondAckStopsBeforeTheThirdFrame) {
    FaultPlan faults;
    faults.wrongAckCharacter = 2;
    faults.wrongAckByte = 0x15;
    StartPrinter(8, faults);
    const ProcessResult r = Cli({"download", Kfd(abc), "--id", "1", "--port", "8"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(Output(r).find("登録に失敗しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    ASSERT_GE(d.afterHeader.size(), 3u);
    EXPECT_EQ(Bytes(d.afterHeader.begin(), d.afterHeader.begin() + 3), kProceed);
    const Bytes rest = ExpectFrames(Bytes(d.afterHeader.begin() + 3, d.afterHeader.end()),
                                    d.bytesPerGlyph, {0x41, 0x42});
    // Neither a third frame nor a refresh.
    EXPECT_TRUE(rest.empty()) << rest.size() << " bytes after the second frame";
    EXPECT_EQ(t.sent, Cat({kReplyA, kReplyO, {0x06, 0x15}}));
    EXPECT_TRUE(memory.Empty());
}

TEST_F(DownloadTest, SilenceAfterProceedFails) {
    FaultPlan faults;
    faults.silentAfterProceed = true;
    StartPrinter(9, faults);
    const ProcessResult r = Cli({"download", Kfd(abc), "--id", "1", "--port", "9"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(Output(r).find("登録に失敗しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    EXPECT_EQ(d.afterHeader, kProceed);
    EXPECT_EQ(t.sent, kReplyA);
    EXPECT_TRUE(memory.Empty());
}

TEST_F(DownloadTest, GlyphsFullOfXonXoffBytesArriveIntact) {
    // 】〓丑挑易: each code's low byte is 0x11 or 0x13, and at 6 points the cell
    // is about 17 dots (0x11) high, which every record of a code above 0xFF carries.
    const std::vector<uint16_t> codes{0x3011, 0x3013, 0x4E11, 0x6311, 0x6613};
    StartPrinter(15);
    const ProcessResult r =
        Cli({"download", Kfd(codes, 6, "XONXOFF"), "--id", "2", "--port", "15"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("登録完了しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    const DownloadOnWire d = SplitDownload(t.received);
    ASSERT_GE(d.afterHeader.size(), 3u);
    const Bytes frames(d.afterHeader.begin() + 3, d.afterHeader.end());
    const Bytes rest = ExpectFrames(frames, d.bytesPerGlyph, codes);
    EXPECT_EQ(rest, Cat({kInfoRequest, kProceed}));
    size_t xon = 0, xoff = 0;
    for (uint8_t b : frames) {
        xon += b == 0x11;
        xoff += b == 0x13;
    }
    EXPECT_GE(xon, 3u);
    EXPECT_GE(xoff, 2u);
    // Every frame reached the printer whole: five ACKs and the characters stored.
    const StoredFont* font = memory.Find(2);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->CharacterCount(), 5u);
    for (size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(font->records[i][0], uint8_t(codes[i]));
        EXPECT_EQ(font->records[i][1], uint8_t(codes[i] >> 8));
        const size_t frame = 12 + d.bytesPerGlyph;
        EXPECT_EQ(Bytes(font->Glyph(i), font->Glyph(i) + d.bytesPerGlyph),
                  Bytes(frames.begin() + long(i * frame + 11),
                        frames.begin() + long(i * frame + 11 + d.bytesPerGlyph)));
    }
}

// Korean and Chinese registrations saved, loaded back and downloaded: each
// keeps the characters its code page holds, in code order, and drops the
// one it does not.
TEST_F(DownloadTest, KoreanAndChineseRegistrationsRoundTrip) {
    struct Case {
        const char* face;
        const char* text;
        std::vector<uint16_t> codes;
    } cases[] = {
        // Hangul han and geul, hanja kan (949 holds it), simplified han (it does not).
        {"NanumGothic", "A\uD55C\uAE00\u6F22\u6C49", {0x41, 0x6F22, 0xAE00, 0xD55C}},
        // Simplified han and zi; Hangul han is not in 936.
        {"AR PL SungtiL GB", "\u6C49\u5B57\uD55C", {0x5B57, 0x6C49}},
        // Traditional kan and zi; simplified han is not in 950.
        {"AR PL Mingti2L Big5", "\u6F22\u5B57\u6C49", {0x5B57, 0x6F22}},
    };
    StartPrinter(19);
    int id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        const std::string kfd = WinePath(WorkDir() + "/cjk" + std::to_string(id) + ".kfd");
        const ProcessResult built = Cli({"build", "--face", c.face, "--size", "12", "--name", "CJK",
                                         "--text", c.text, "--out", kfd});
        ASSERT_EQ(built.exitCode, 0) << Output(built);
        std::string listed;
        for (uint16_t code : c.codes) {
            char line[16];
            std::snprintf(line, sizeof line, "U+%04X\n", code);
            listed += line;
        }
        const ProcessResult shown = Cli({"show", kfd});
        EXPECT_NE(shown.out.find("face=" + std::string(c.face) + "\n"), std::string::npos)
            << Output(shown);
        EXPECT_EQ(shown.out.substr(shown.out.size() - std::min(shown.out.size(), listed.size())),
                  listed);
        const ProcessResult sent =
            Cli({"download", kfd, "--id", std::to_string(id), "--port", "19"});
        EXPECT_EQ(sent.exitCode, 0) << Output(sent);
        ++id;
    }
    StopPrinter();
    for (int i = 0; i < 3; ++i) {
        const StoredFont* font = memory.Find(i + 1);
        ASSERT_NE(font, nullptr) << cases[i].face;
        ASSERT_EQ(font->CharacterCount(), cases[i].codes.size()) << cases[i].face;
        for (size_t k = 0; k < cases[i].codes.size(); ++k)
            EXPECT_EQ(ReadLE16(font->records[k].data()), cases[i].codes[k]) << cases[i].face;
    }
}

// ---- Deletion ----

TEST_F(VirtualPrinterTest, DeleteIdSevenAcceptedSendsItsBlockAndRefreshes) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(3, "KEEP", 16, 16));
    seed.Store(MakeLogo(7, "GONE", 16, 16));
    StartPrinter(10, {}, seed);
    const ProcessResult r = Cli({"delete", "--id", "7", "--port", "10", "--confirm", "yes"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("データ削除に成功しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, Cat({{0x1B, 0x41, 0x1B, 0x46, 0x43, 0x30, 0x37, 0x1B, 0x5A},
                               kProceed,
                               kInfoRequest,
                               kProceed}));
    ASSERT_GE(t.sent.size(), 17u);
    EXPECT_EQ(Bytes(t.sent.begin(), t.sent.begin() + 17),
              Cat({kReplyB,
                   kReplyE,
                   {0x02, 0x42, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x30, 0x36, 0x03}}));
    EXPECT_EQ(memory.Find(7), nullptr);
    EXPECT_NE(memory.Find(3), nullptr);
}

TEST_F(VirtualPrinterTest, DeleteDeclinedSendsCancelAndChangesNothing) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(7, "KEEP", 16, 16));
    const std::string before = vprinter::FormatState(seed);
    StartPrinter(11, {}, seed);
    const ProcessResult r = Cli({"delete", "--id", "7", "--port", "11", "--confirm", "no"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_EQ(Output(r).find("データ削除に成功しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, Cat({{0x1B, 0x41, 0x1B, 0x46, 0x43, 0x30, 0x37, 0x1B, 0x5A}, kCancel}));
    EXPECT_EQ(t.sent, Cat({kReplyB, kReplyS}));
    EXPECT_EQ(vprinter::FormatState(memory), before);
}

TEST_F(VirtualPrinterTest, ClearAllAccepted) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(3, "A", 16, 16));
    seed.Store(SampleFont(5, "Sample", 4));
    StartPrinter(12, {}, seed);
    const ProcessResult r = Cli({"clear", "--port", "12", "--confirm", "yes"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("データ削除に成功しました。"), std::string::npos) << Output(r);
    EXPECT_NE(Output(r).find("メモリ使用量　0/240Kbyte"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    // No new query after the deletion.
    EXPECT_EQ(t.received, Cat({kDeleteAll, kProceed}));
    EXPECT_EQ(t.sent, Cat({kReplyB, kReplyE}));
    EXPECT_TRUE(memory.Empty());
}

TEST_F(VirtualPrinterTest, ClearAllDeclinedChangesNothing) {
    RegistrationMemory seed;
    seed.Store(MakeLogo(3, "A", 16, 16));
    const std::string before = vprinter::FormatState(seed);
    StartPrinter(13, {}, seed);
    const ProcessResult r = Cli({"clear", "--port", "13", "--confirm", "no"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, Cat({kDeleteAll, kCancel}));
    EXPECT_EQ(t.sent, Cat({kReplyB, kReplyS}));
    EXPECT_EQ(vprinter::FormatState(memory), before);
}

TEST_F(VirtualPrinterTest, FirstReplyMissingThenNothingToDelete) {
    FaultPlan faults;
    faults.dropReply = 1;
    StartPrinter(16, faults);
    const ProcessResult r = Cli({"clear", "--port", "16", "--confirm", "yes"});
    // Nothing to delete is what a clear asks for.
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("登録データがありません。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, Cat({kDeleteAll, kDeleteAll}));
    EXPECT_EQ(t.sent, kReplyA);
}

// ---- Port ----

TEST_F(VirtualPrinterTest, PortThatCannotBeOpenedIsReportedAndNothingIsSent) {
    // COM14 leads to a directory: CreateFileA fails as for a port that is missing.
    RegistrationMemory seed;
    seed.Store(MakeLogo(7, "KEEP", 16, 16));
    const std::string before = vprinter::FormatState(seed);
    StartPrinter(14, {}, seed);
    ASSERT_TRUE(WinRun({"--map-com", "14", WorkDir()}));
    const ProcessResult r = Cli({"clear", "--port", "14", "--confirm", "yes"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(Output(r).find("COMポートが開けませんでした。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_TRUE(t.received.empty());
    EXPECT_TRUE(t.sent.empty());
    EXPECT_EQ(vprinter::FormatState(memory), before);
}

TEST_F(VirtualPrinterTest, UnmappedPortCannotBeOpenedAndNothingChanges) {
    // Wine 8 opens a port whose link is gone as some other device; the tool
    // must still count it as a port that cannot be opened.
    RegistrationMemory seed;
    seed.Store(MakeLogo(7, "KEEP", 16, 16));
    const std::string before = vprinter::FormatState(seed);
    StartPrinter(18, {}, seed);
    ASSERT_TRUE(WinRun({"--unmap-com", "18"}));
    const ProcessResult r = Cli({"list", "--port", "18"});
    EXPECT_EQ(r.exitCode, 1) << Output(r);
    EXPECT_NE(Output(r).find("COMポートが開けませんでした。"), std::string::npos) << Output(r);
    EXPECT_EQ(Output(r).find("取得完了しました。"), std::string::npos) << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_TRUE(t.received.empty());
    EXPECT_TRUE(t.sent.empty());
    EXPECT_EQ(vprinter::FormatState(memory), before);
}

TEST_F(DownloadTest, SecondProgramCannotOpenThePortADownloadHolds) {
    // The printer holds its answer to the Proceed of an overwrite, which the
    // tool awaits for ten seconds, while a listing tries the same port.
    RegistrationMemory seed;
    seed.Store(MakeLogo(1, "OLD", 16, 16));
    std::promise<void> proceedHeld, release;
    std::shared_future<void> released = release.get_future().share();
    bool held = false;
    onPrinterNote = [&](const std::string& note) {
        if (note != "received proceed" || held)
            return;
        held = true;
        proceedHeld.set_value();
        released.wait();
    };
    StartPrinter(20, {}, seed);
    const std::string kfd = Kfd(abc);
    ProcessResult first, second;
    std::thread download([&] {
        first = Cli({"download", kfd, "--id", "1", "--port", "20", "--overwrite", "yes"});
    });
    if (proceedHeld.get_future().wait_for(std::chrono::seconds(60)) == std::future_status::ready)
        second = Cli({"list", "--port", "20"});
    else
        ADD_FAILURE() << "the download never reached its Proceed";
    release.set_value();
    download.join();
    EXPECT_EQ(second.exitCode, 1) << Output(second);
    EXPECT_NE(Output(second).find("COMポートが開けませんでした。"), std::string::npos)
        << Output(second);
    EXPECT_EQ(first.exitCode, 0) << Output(first);
    EXPECT_NE(Output(first).find("登録完了しました。"), std::string::npos) << Output(first);
    // Nothing of the listing reached the line.
    const DownloadOnWire d = SplitDownload(StopPrinter().received);
    ASSERT_GE(d.afterHeader.size(), 3u);
    EXPECT_EQ(
        ExpectFrames(Bytes(d.afterHeader.begin() + 3, d.afterHeader.end()), d.bytesPerGlyph, abc),
        Cat({kInfoRequest, kProceed}));
}

TEST_F(VirtualPrinterTest, ListingReplySplitWithinTheReadTimeIsJoined) {
    FaultPlan faults;
    faults.splitReply = 1;
    faults.splitDelayMs = 50;
    StartPrinter(17, faults);
    const ProcessResult r = Cli({"list", "--port", "17"});
    EXPECT_EQ(r.exitCode, 0) << Output(r);
    EXPECT_NE(Output(r).find("取得完了しました。登録されているデータはありません。"),
              std::string::npos)
        << Output(r);
    const WireTranscript t = StopPrinter();
    EXPECT_EQ(t.received, kInfoRequest);
}

} // namespace
