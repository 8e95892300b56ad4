// The virtual printer's answers, checked against the bytes of the command
// tables; its memory, faults and record data.
#include <gtest/gtest.h>

#include "tests/tools/vprinter_test_util.h"
#include "tools/vprinter/printer_engine.h"

using namespace vprinter;
using namespace vprinter_test;

namespace {

class EngineTest : public ::testing::Test {
protected:
    // Everything sent back for `input`, the pieces joined.
    Bytes Send(const Bytes& input) {
        pieces.clear();
        engine->Receive(input.data(), input.size(), pieces);
        Bytes all;
        for (const auto& p : pieces)
            all.insert(all.end(), p.bytes.begin(), p.bytes.end());
        return all;
    }
    void Start(const FaultPlan& plan = {}) {
        faults = plan;
        engine = std::make_unique<PrinterEngine>(memory, faults);
        engine->onChange = [this] { ++changes; };
    }
    void SetUp() override { Start(); }

    // Registers ID "07" with three 2-byte glyphs (16 x 1 cells) over the line.
    void DownloadThree() {
        ASSERT_EQ(Send(DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 3))),
                  (Bytes{0x02, 'A', 0x03}));
        ASSERT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
        ASSERT_EQ(Send(Frame(0x0041, 9, 1, {0x11, 0x13})), Bytes{0x06});
        ASSERT_EQ(Send(Frame(0x0042, 10, 1, {0x13, 0x11})), Bytes{0x06});
        ASSERT_EQ(Send(Frame(0x3042, 16, 1, {0xFF, 0x80})), Bytes{0x06});
    }

    RegistrationMemory memory;
    FaultPlan faults;
    std::unique_ptr<PrinterEngine> engine;
    std::vector<TimedBytes> pieces;
    int changes = 0;
};

TEST_F(EngineTest, InfoRequestOnEmptyMemoryAnswersA) {
    EXPECT_EQ(Send(kInfoRequest),
              (Bytes{0x02, 0x41, '0', '0', '0', '0', '0', '0', '0', '0', 0x03}));
    // Proceed without a question is not answered.
    EXPECT_TRUE(Send(kProceed).empty());
}

TEST_F(EngineTest, DownloadOfThreeCharactersIsListedWithSixByteEntries) {
    DownloadThree();
    EXPECT_EQ(changes, 1);
    ASSERT_NE(memory.Find(7), nullptr);
    EXPECT_EQ(memory.Find(7)->glyphs, (Bytes{0x11, 0x13, 0x13, 0x11, 0xFF, 0x80}));
    // L = 100 + 3 x 6 = 118.
    EXPECT_EQ(Send(kInfoRequest), (Bytes{0x02, 'B', '0', '0', '0', '0', '0', '1', '1', '8', 0x03}));
    const Bytes data = Send(kProceed);
    ASSERT_EQ(data.size(), 1u + 100 + 18 + 1);
    EXPECT_EQ(data.front(), 0x02);
    EXPECT_EQ(data.back(), 0x03);
    EXPECT_EQ(Bytes(data.begin() + 1, data.begin() + 101), InfoBlock("07", "Three", 16, 1, 2, 3));
    // Code low byte first, then width and height big-endian.
    EXPECT_EQ(Bytes(data.begin() + 101, data.end() - 1),
              (Bytes{0x41, 0x00, 0x00, 0x09, 0x00, 0x01, //
                     0x42, 0x00, 0x00, 0x0A, 0x00, 0x01, //
                     0x42, 0x30, 0x00, 0x10, 0x00, 0x01}));
}

TEST_F(EngineTest, AnswersArriveTheSameWhateverTheBytesArePiecedInto) {
    const Bytes all = Cat({DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 3)), kProceed,
                           Frame(0x41, 9, 1, {1, 2}), Frame(0x42, 9, 1, {3, 4}),
                           Frame(0x43, 9, 1, {5, 6}), kInfoRequest});
    Bytes replies;
    for (uint8_t b : all) {
        const Bytes r = Send({b});
        replies.insert(replies.end(), r.begin(), r.end());
    }
    EXPECT_EQ(replies, (Bytes{0x02, 'A', 0x03, 0x02, 'O', 0x03, 0x06, 0x06, 0x06, 0x02,
                              'B',  '0', '0',  '0',  '0', '0',  '1',  '1',  '8',  0x03}));
}

TEST_F(EngineTest, DownloadToARegisteredIdAsksAndKeepsTheOldOnCancel) {
    DownloadThree();
    const auto before = memory.Find(7)->glyphs;
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Other", 8, 1, 1, 1))), (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kCancel), (Bytes{0x02, 'S', 0x03}));
    EXPECT_EQ(memory.Find(7)->glyphs, before);
    // Answered with Proceed, the new font replaces the old one.
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Other", 8, 1, 1, 1))), (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
    EXPECT_EQ(Send(Frame(0x41, 8, 1, {0xAA})), Bytes{0x06});
    ASSERT_EQ(memory.Entries().size(), 1u);
    EXPECT_EQ(memory.Find(7)->glyphs, Bytes{0xAA});
}

TEST_F(EngineTest, DownloadOfNoCharactersRegistersAtProceed) {
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("00", "Empty", 0, 0, 0, 0))), (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
    ASSERT_NE(memory.Find(0), nullptr);
    EXPECT_EQ(memory.Find(0)->CharacterCount(), 0u);
}

TEST_F(EngineTest, MemoryOfTwoHundredFortyKilobytesDecidesNAtTheByte) {
    // 2048 characters of 110 bytes cost 2048 x 120 = 245760 bytes: exactly full.
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("01", "Full", 8, 110, 110, 2048))),
              (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(kCancel), (Bytes{0x02, 'S', 0x03}));
    // One character more does not fit.
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("01", "Over", 8, 110, 110, 2049))),
              (Bytes{0x02, 'N', 0x03}));
    // Nor 5001 characters, nor an ID that is not two digits.
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("02", "Many", 8, 1, 1, 5001))),
              (Bytes{0x02, 'N', 0x03}));
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("1 ", "Bad", 8, 1, 1, 1))), (Bytes{0x02, 'N', 0x03}));
    // N leaves no question open.
    EXPECT_TRUE(Send(kProceed).empty());
    // What is registered counts, except the entry a download would replace.
    memory.Store(MakeLogo(5, "L", 100, 80)); // 10 x 100 + 10 = 1010 bytes
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("01", "Full", 8, 110, 110, 2048))),
              (Bytes{0x02, 'N', 0x03}));
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("05", "Full", 8, 110, 110, 2048))),
              (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kCancel), (Bytes{0x02, 'S', 0x03}));
}

TEST_F(EngineTest, DeleteEntryOfIdSevenAsksThenDeletes) {
    DownloadThree();
    memory.Store(MakeLogo(8, "Logo", 16, 16));
    EXPECT_EQ(Send(DeleteEntry('0', '9')), (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(DeleteEntry('0', '7')), (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kCancel), (Bytes{0x02, 'S', 0x03}));
    EXPECT_NE(memory.Find(7), nullptr);
    EXPECT_EQ(Send(DeleteEntry('0', '7')), (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'E', 0x03}));
    EXPECT_EQ(memory.Find(7), nullptr);
    EXPECT_NE(memory.Find(8), nullptr);
}

TEST_F(EngineTest, DeleteAllAsksWhenThereIsSomethingToDelete) {
    EXPECT_EQ(Send(kDeleteAll), (Bytes{0x02, 'A', 0x03}));
    memory.Store(MakeLogo(1, "Logo", 16, 16));
    DownloadThree();
    EXPECT_EQ(Send(kDeleteAll), (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kCancel), (Bytes{0x02, 'S', 0x03}));
    EXPECT_EQ(memory.Entries().size(), 2u);
    EXPECT_EQ(Send(kDeleteAll), (Bytes{0x02, 'B', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'E', 0x03}));
    EXPECT_TRUE(memory.Empty());
}

TEST_F(EngineTest, LogoIsOneEntryBeginning6B82) {
    memory.Store(MakeLogo(3, "LOGO1", 96, 200));
    // One block + one entry: 106.
    EXPECT_EQ(Send(kInfoRequest), (Bytes{0x02, 'B', '0', '0', '0', '0', '0', '1', '0', '6', 0x03}));
    const Bytes data = Send(kProceed);
    ASSERT_EQ(data.size(), 108u);
    EXPECT_EQ(data[1], '0');
    EXPECT_EQ(data[2], '3');
    // Size field 1 (vertical) 96 = 00 60, size field 2 (horizontal) 200 = 00 C8,
    // 25 bytes a row x 96 rows = 2400 = 00 00 09 60 per glyph, one character.
    EXPECT_EQ(Bytes(data.begin() + 1 + 52, data.begin() + 1 + 64),
              (Bytes{0x00, 0x60, 0x00, 0xC8, 0x00, 0x00, 0x09, 0x60, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(Bytes(data.begin() + 101, data.end() - 1),
              (Bytes{0x6B, 0x82, 0x00, 0xC8, 0x00, 0x60}));
    EXPECT_TRUE(memory.Find(3)->IsLogo());
    EXPECT_EQ(memory.Used(), 2410u);
}

TEST_F(EngineTest, WrongByteForTheSecondAckDropsTheDownload) {
    FaultPlan plan;
    plan.wrongAckCharacter = 2;
    plan.wrongAckByte = 0x41;
    Start(plan);
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 3))),
              (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
    EXPECT_EQ(Send(Frame(0x41, 9, 1, {1, 2})), Bytes{0x06});
    EXPECT_EQ(Send(Frame(0x42, 9, 1, {1, 2})), Bytes{0x41});
    EXPECT_TRUE(memory.Empty());
    // The printer is ready for a new command at once.
    EXPECT_EQ(Send(kInfoRequest).at(1), 'A');
}

TEST_F(EngineTest, FrameWithoutEtxIsRefusedWithNak) {
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 1))),
              (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
    Bytes frame = Frame(0x41, 9, 1, {1, 2});
    frame.back() = 0x04;
    EXPECT_EQ(Send(frame), Bytes{0x15});
    EXPECT_TRUE(memory.Empty());
}

TEST_F(EngineTest, NewCommandDuringADownloadEndsIt) {
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 3))),
              (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
    EXPECT_EQ(Send(Frame(0x41, 9, 1, {1, 2})), Bytes{0x06});
    EXPECT_EQ(Send(kInfoRequest).at(1), 'A');
    EXPECT_TRUE(memory.Empty());
}

TEST_F(EngineTest, QuietLineDropsAHalfReceivedFrame) {
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 1))),
              (Bytes{0x02, 'A', 0x03}));
    EXPECT_EQ(Send(kProceed), (Bytes{0x02, 'O', 0x03}));
    EXPECT_TRUE(Send({0x02, 0x41, 0x00}).empty());
    EXPECT_TRUE(engine->Busy());
    engine->Abandon();
    EXPECT_FALSE(engine->Busy());
    // Without the drop these bytes would complete the frame.
    EXPECT_EQ(Send(kInfoRequest).at(1), 'A');
}

TEST_F(EngineTest, StrayBytesAreSkipped) {
    EXPECT_EQ(Send(Cat({{0x00, 0x47, 0xFF}, kInfoRequest})).size(), 11u);
}

TEST_F(EngineTest, SilentAfterProceedAnswersNothingAndDoesNothing) {
    FaultPlan plan;
    plan.silentAfterProceed = true;
    Start(plan);
    memory.Store(MakeLogo(1, "Logo", 16, 16));
    EXPECT_EQ(Send(DownloadHeader(InfoBlock("07", "Three", 16, 1, 2, 3))),
              (Bytes{0x02, 'A', 0x03}));
    EXPECT_TRUE(Send(kProceed).empty());
    EXPECT_EQ(Send(kDeleteAll), (Bytes{0x02, 'B', 0x03}));
    EXPECT_TRUE(Send(kProceed).empty());
    EXPECT_EQ(memory.Entries().size(), 1u);
}

TEST_F(EngineTest, DroppedReplyIsCountedAmongAllReplies) {
    FaultPlan plan;
    plan.dropReply = 2;
    Start(plan);
    EXPECT_EQ(Send(kDeleteAll), (Bytes{0x02, 'A', 0x03}));
    EXPECT_TRUE(Send(kDeleteAll).empty());
    EXPECT_EQ(Send(kDeleteAll), (Bytes{0x02, 'A', 0x03}));
}

TEST_F(EngineTest, SplitReplyComesInTwoPiecesAfterTheDelays) {
    FaultPlan plan;
    plan.splitReply = 1;
    plan.splitDelayMs = 700;
    plan.replyDelayMs = 30;
    Start(plan);
    EXPECT_EQ(Send(kInfoRequest).size(), 11u);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].delayMs, 30);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x02, 'A', '0', '0', '0'}));
    EXPECT_EQ(pieces[1].delayMs, 700);
    EXPECT_EQ(pieces[1].bytes, (Bytes{'0', '0', '0', '0', '0', 0x03}));
    // Only the first reply was named.
    Send(kInfoRequest);
    EXPECT_EQ(pieces.size(), 1u);
}

} // namespace
