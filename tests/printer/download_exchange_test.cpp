#include "printer/download_exchange.h"

#include <gtest/gtest.h>

#include "operations/outcome_play.h"
#include "printer_bytes.h"
#include "recording_printer_operator.h"

namespace {

using S = OutcomeStep;
using Steps = std::vector<OutcomeStep>;

const Bytes kStart{0x02, 0x1B, 0x41, 0x1B, 0x46, 0x44};
const Bytes kHeaderEnd{0x1B, 0x5A, 0x03};

struct Observer : DownloadProgress, RecordingPrinterOperator {
    int starts = 0;
    std::vector<std::pair<uint32_t, uint32_t>> progress;
    void TransferStarting() override {
        EXPECT_TRUE(progress.empty());
        ++starts;
    }
    void CharacterSent(uint32_t count, uint32_t index) override {
        progress.push_back({count, index});
    }
};

// Three characters "A", "B", U+3042 in a 8 x 2 cell (2 bytes a glyph) whose
// bitmaps hold XON and XOFF bytes.
struct Registration {
    CFontPT record;
    Bytes glyphs{0x11, 0x13, 0x13, 0x11, 0xFF, 0x00};
    Registration(uint32_t n = 3) {
        FontHeader h;
        std::memcpy(h.bytes.data(), "07", 2);
        h.bytes[52] = 8;
        h.bytes[54] = 2;
        h.bytes[56] = 2;
        h.bytes[60] = uint8_t(n);
        std::vector<GlyphRecord> records{{0x41, 0, 7, 2}, {0x42, 1, 6, 2}, {0x3042, 0, 8, 2}};
        records.resize(n);
        record.SetDownloadData(h, records, 2);
        record.BuildInfoBlock();
        glyphs.resize(2 * n);
    }
    Bytes Info() const { return Bytes(record.m_infoBlock.begin(), record.m_infoBlock.end()); }
    Bytes Header() const { return Cat({kStart, Info(), kHeaderEnd}); }
};

// The frames written out by hand: STX, wire record, bitmap, ETX.
const Bytes kFrameA{0x02, 0x41, 0x00, 0x00, 0x00, 0x00, 0x07,
                    0x00, 0x00, 0x00, 0x02, 0x11, 0x13, 0x03};
const Bytes kFrameB{0x02, 0x42, 0x00, 0x00, 0x01, 0x00, 0x06,
                    0x00, 0x00, 0x00, 0x02, 0x13, 0x11, 0x03};
const Bytes kFrameU{0x02, 0x42, 0x30, 0x00, 0x00, 0x00, 0x08,
                    0x00, 0x00, 0x00, 0x02, 0xFF, 0x00, 0x03};

ExchangeOutcome Send(ScriptedLink& link, Registration& r, Observer& obs) {
    return DownloadRegistration(link, r.record, r.glyphs.data(), r.glyphs.size(), obs, obs);
}

TEST(Download, FreeIdSendsOneAcknowledgedFramePerCharacter) {
    Registration r;
    Observer obs;
    ScriptedLink link({Answer(r.Header(), ShortReply('A')), Answer(kProceed, ShortReply('O')),
                       Answer(kFrameA, kAck), Answer(kFrameB, kAck), Answer(kFrameU, kAck),
                       Answer(kInfoRequest, InfoReply('B', 0)),
                       Answer(kProceed, Cat({kStx, kEtx}))});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_TRUE(out.succeeded);
    EXPECT_TRUE(link.Mismatch().empty()) << link.Mismatch();
    EXPECT_TRUE(link.ScriptDone());
    EXPECT_EQ(obs.starts, 1);
    EXPECT_TRUE(obs.questions.empty());
    EXPECT_EQ(obs.progress, (std::vector<std::pair<uint32_t, uint32_t>>{{3, 0}, {3, 1}, {3, 2}}));
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::UpdateListing, S::ClosePort, S::ShowMessage}));
    EXPECT_EQ(out.report.task, PrinterTask::Download);
    EXPECT_EQ(out.report.result, PrinterResult::Done);
    EXPECT_EQ(out.listing.list, ListChange::Fill);
    EXPECT_EQ(PlayOf(out).extent, ExtentChange::EachLine);
}

TEST(Download, OverwriteAcceptedWaitsLongForReady) {
    Registration r(1);
    Observer obs;
    // O after 5 s: beyond a 100 ms read, within the confirmed 10000 ms one.
    ScriptedLink link({Answer(r.Header(), ShortReply('B')), Answer(kProceed, ShortReply('O'), 5000),
                       Answer(kFrameA, kAck), Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(obs.questions, std::vector<PrinterQuestion>{PrinterQuestion::Overwrite});
    EXPECT_EQ(obs.starts, 1);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::UpdateListing, S::ShowMessage}));
}

TEST(Download, FreeIdWaitsOnlyShortlyForReady) {
    Registration r(1);
    Observer obs;
    ScriptedLink link(
        {Answer(r.Header(), ShortReply('A')), Answer(kProceed, ShortReply('O'), 5000)});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_EQ(out.report.result, PrinterResult::NoAnswer);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ShowMessage, S::ClosePort}));
    EXPECT_EQ(obs.starts, 1); // the progress window was open when it failed
}

TEST(Download, OverwriteDeclinedSendsCancelQuietly) {
    Registration r;
    Observer obs;
    obs.answer = false;
    ScriptedLink link({Answer(r.Header(), ShortReply('B')), Answer(kCancel, ShortReply('S'))});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_FALSE(out.succeeded);
    EXPECT_EQ(out.report.result, PrinterResult::Declined);
    EXPECT_EQ(PlayOf(out).steps, Steps{S::ClosePort});
    EXPECT_EQ(obs.starts, 0);
    EXPECT_EQ(link.Written(), Cat({r.Header(), kCancel}));
}

TEST(Download, AreaUnusable) {
    Registration r;
    Observer obs;
    ScriptedLink link({Answer(r.Header(), ShortReply('N'))});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_EQ(out.report.result, PrinterResult::AreaUnusable);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ShowMessage, S::ClosePort}));
    EXPECT_EQ(obs.starts, 0);
    EXPECT_EQ(link.Written(), r.Header());
}

TEST(Download, NoOrUnknownHeaderReplyFails) {
    Registration r;
    Observer obs;
    ScriptedLink silent({Silent(r.Header())});
    ScriptedLink unknown({Answer(r.Header(), ShortReply('E'))});
    ScriptedLink late({Answer(r.Header(), ShortReply('A'), 3300)}); // after 3 x (1000 + 90) ms
    const std::pair<ScriptedLink*, PrinterResult> cases[] = {
        {&silent, PrinterResult::NoAnswer},
        {&unknown, PrinterResult::NotPrinterAnswer},
        {&late, PrinterResult::NoAnswer},
    };
    for (const auto& [link, result] : cases) {
        const ExchangeOutcome out = Send(*link, r, obs);
        EXPECT_EQ(out.report.result, result);
        EXPECT_EQ(link->Written(), r.Header());
    }
    EXPECT_EQ(obs.starts, 0);
}

TEST(Download, WrongAckStopsBeforeTheNextCharacter) {
    Registration r;
    Observer obs;
    ScriptedLink link({Answer(r.Header(), ShortReply('A')), Answer(kProceed, ShortReply('O')),
                       Answer(kFrameA, kAck), Answer(kFrameB, Bytes{0x15})});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_EQ(out.report.result, PrinterResult::CharacterNotAcknowledged);
    EXPECT_EQ(out.report.character, 1u);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ShowMessage, S::ClosePort}));
    EXPECT_EQ(link.Written(), Cat({r.Header(), kProceed, kFrameA, kFrameB}));
    EXPECT_EQ(obs.progress.size(), 1u);
    EXPECT_EQ(out.listing.list, ListChange::Keep);
}

TEST(Download, SilenceAfterProceedFails) {
    Registration r;
    Observer obs;
    ScriptedLink link({Answer(r.Header(), ShortReply('A')), Silent(kProceed)});
    EXPECT_EQ(Send(link, r, obs).report.result, PrinterResult::NoAnswer);
    EXPECT_EQ(link.Written(), Cat({r.Header(), kProceed}));
}

TEST(Download, NoCharactersStillRefreshes) {
    Registration r(0);
    Observer obs;
    ScriptedLink link({Answer(r.Header(), ShortReply('A')), Answer(kProceed, ShortReply('O')),
                       Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(out.report.result, PrinterResult::Done);
    EXPECT_TRUE(obs.progress.empty());
    EXPECT_TRUE(link.ScriptDone());
}

TEST(Download, ShortGlyphDataIsRefusedUnsent) {
    Registration r;
    r.glyphs.pop_back();
    Observer obs;
    ScriptedLink link({});
    EXPECT_FALSE(GlyphDataFits(r.record, r.glyphs.size()));
    const ExchangeOutcome out = Send(link, r, obs);
    EXPECT_EQ(out.report.result, PrinterResult::DataMismatch);
    EXPECT_TRUE(link.Written().empty());
    EXPECT_TRUE(GlyphDataFits(r.record, 6));
    EXPECT_TRUE(GlyphDataFits(r.record, 7));
}

} // namespace
