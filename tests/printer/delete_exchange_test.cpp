#include "printer/delete_exchange.h"

#include <gtest/gtest.h>

#include "operations/outcome_play.h"
#include "printer/printer_stop.h"
#include "printer_bytes.h"
#include "recording_printer_operator.h"

namespace {

using S = OutcomeStep;
using Steps = std::vector<OutcomeStep>;

const Bytes kDeleteSeven{0x1B, 0x41, 0x1B, 0x46, 0x43, 0x30, 0x37, 0x1B, 0x5A};
const Bytes kDeleteAll{0x1B, 0x41, 0x1B, 0x2A, 0x46, 0x1B, 0x5A};

TEST(DeleteEntry, AcceptedDeletionRefreshesThenReports) {
    RecordingPrinterOperator asked(true);
    ScriptedLink link({Answer(kDeleteSeven, ShortReply('B')),
                       Answer(kProceed, ShortReply('E'), 9000),
                       Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = DeleteRegisteredData(link, 7, asked);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(asked.questions, std::vector<PrinterQuestion>{PrinterQuestion::DeleteEntry});
    EXPECT_EQ(link.Written(), Cat({kDeleteSeven, kProceed, kInfoRequest}));
    // The refresh (code A) closes and empties; the message comes last.
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::UpdateListing, S::ShowMessage}));
    EXPECT_EQ(out.report.task, PrinterTask::DeleteEntry);
    EXPECT_EQ(out.report.result, PrinterResult::Done);
    EXPECT_EQ(out.listing.memory, MemoryChange::Zero);
}

TEST(DeleteEntry, IdDigitsAreTwoDecimalDigits) {
    RecordingPrinterOperator unasked;
    ScriptedLink link(
        {Answer(Bytes{0x1B, 0x41, 0x1B, 0x46, 0x43, 0x30, 0x30, 0x1B, 0x5A}, ShortReply('A'))});
    EXPECT_EQ(DeleteRegisteredData(link, 0, unasked).report.result,
              PrinterResult::NothingRegistered);
    ScriptedLink link99(
        {Answer(Bytes{0x1B, 0x41, 0x1B, 0x46, 0x43, 0x39, 0x39, 0x1B, 0x5A}, ShortReply('A'))});
    EXPECT_EQ(DeleteRegisteredData(link99, 99, unasked).report.result,
              PrinterResult::NothingRegistered);
    EXPECT_TRUE(link.Mismatch().empty());
    EXPECT_TRUE(link99.Mismatch().empty());
}

TEST(DeleteEntry, DeclinedSendsCancelAndChangesNothing) {
    RecordingPrinterOperator asked(false);
    ScriptedLink link({Answer(kDeleteSeven, ShortReply('B')), Silent(kCancel)});
    const ExchangeOutcome out = DeleteRegisteredData(link, 7, asked);
    EXPECT_FALSE(out.succeeded);
    EXPECT_EQ(out.report.result, PrinterResult::Declined);
    EXPECT_EQ(PlayOf(out).steps, Steps{S::ClosePort});
    EXPECT_EQ(out.listing.list, ListChange::Keep);
    EXPECT_EQ(out.listing.memory, MemoryChange::Keep);
    EXPECT_EQ(link.Written(), Cat({kDeleteSeven, kCancel}));
    // The cancel's reply was waited for with the long time-out: 3 x (90 + 10000).
    EXPECT_EQ(link.NowMs(), 30270u);
}

TEST(DeleteEntry, FirstReplyMissingSecondSaysNothingToDelete) {
    RecordingPrinterOperator unasked;
    ScriptedLink link({Silent(kDeleteSeven), Answer(kDeleteSeven, ShortReply('A'))});
    const ExchangeOutcome out = DeleteRegisteredData(link, 7, unasked);
    EXPECT_FALSE(out.succeeded);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::ShowMessage}));
    EXPECT_EQ(out.report.task, PrinterTask::DeleteEntry);
    EXPECT_EQ(out.report.result, PrinterResult::NothingRegistered);
    EXPECT_EQ(link.Written(), Cat({kDeleteSeven, kDeleteSeven}));
}

TEST(DeleteEntry, FailuresReportDeletionFailed) {
    RecordingPrinterOperator yes(true);
    ScriptedLink bothSilent({Silent(kDeleteSeven), Silent(kDeleteSeven)});
    ScriptedLink otherCode({Answer(kDeleteSeven, ShortReply('Z'))});
    ScriptedLink silentAfterProceed({Answer(kDeleteSeven, ShortReply('B')), Silent(kProceed)});
    ScriptedLink wrongAfterProceed(
        {Answer(kDeleteSeven, ShortReply('B')), Answer(kProceed, ShortReply('A'))});
    ScriptedLink lateE(
        {Answer(kDeleteSeven, ShortReply('B')), Answer(kProceed, ShortReply('E'), 30300)});
    const std::pair<ScriptedLink*, PrinterResult> cases[] = {
        {&bothSilent, PrinterResult::NoAnswer},
        {&otherCode, PrinterResult::NotPrinterAnswer},
        {&silentAfterProceed, PrinterResult::NoAnswer},
        {&wrongAfterProceed, PrinterResult::NotPrinterAnswer},
        {&lateE, PrinterResult::NoAnswer},
    };
    for (const auto& [link, result] : cases) {
        const ExchangeOutcome out = DeleteRegisteredData(*link, 7, yes);
        EXPECT_FALSE(out.succeeded);
        EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::ShowMessage}));
        EXPECT_EQ(out.report.task, PrinterTask::DeleteEntry);
        EXPECT_EQ(out.report.result, result);
        EXPECT_EQ(out.listing.list, ListChange::Keep);
        EXPECT_TRUE(link->ScriptDone());
    }
}

TEST(DeleteAll, AcceptedEmptiesTheListWithoutQuerying) {
    RecordingPrinterOperator asked(true);
    ScriptedLink link({Answer(kDeleteAll, ShortReply('B')), Answer(kProceed, ShortReply('E'))});
    const ExchangeOutcome out = ClearAllRegisteredData(link, asked);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(asked.questions, std::vector<PrinterQuestion>{PrinterQuestion::ClearAll});
    EXPECT_EQ(link.Written(), Cat({kDeleteAll, kProceed}));
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::ShowMessage, S::UpdateListing}));
    EXPECT_EQ(out.report.task, PrinterTask::ClearAll);
    EXPECT_EQ(out.report.result, PrinterResult::Done);
    EXPECT_EQ(out.listing.list, ListChange::Empty);
    EXPECT_EQ(PlayOf(out).extent, ExtentChange::Keep);
    EXPECT_EQ(out.listing.memory, MemoryChange::Zero);
}

TEST(DeleteAll, NothingRegistered) {
    RecordingPrinterOperator unasked;
    ScriptedLink link({Silent(kDeleteAll), Answer(kDeleteAll, ShortReply('A'))});
    const ExchangeOutcome out = ClearAllRegisteredData(link, unasked);
    EXPECT_EQ(out.report.task, PrinterTask::ClearAll);
    EXPECT_EQ(out.report.result, PrinterResult::NothingRegistered);
}

TEST(DeleteAll, DeclinedAndFailed) {
    RecordingPrinterOperator no(false);
    ScriptedLink declined({Answer(kDeleteAll, ShortReply('B')), Answer(kCancel, ShortReply('S'))});
    const ExchangeOutcome d = ClearAllRegisteredData(declined, no);
    EXPECT_EQ(d.report.result, PrinterResult::Declined);
    EXPECT_EQ(PlayOf(d).steps, Steps{S::ClosePort});
    EXPECT_EQ(declined.Written(), Cat({kDeleteAll, kCancel}));

    RecordingPrinterOperator yes(true);
    ScriptedLink silent({Answer(kDeleteAll, ShortReply('B')), Silent(kProceed)});
    const ExchangeOutcome f = ClearAllRegisteredData(silent, yes);
    EXPECT_EQ(f.report.result, PrinterResult::NoAnswer);
    EXPECT_EQ(f.listing.list, ListChange::Keep);
}

} // namespace

// The operator stops while the question is up (the cut runs at once) and
// then says yes: nothing more reaches the printer, so nothing is deleted.
TEST(Deletion, StoppedWhileAskedSendsNothingMore) {
    const struct {
        Bytes block;
        bool all;
    } cases[] = {{kDeleteSeven, false}, {kDeleteAll, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.all ? "all" : "one");
        PrinterStop stop;
        int cuts = 0;
        stop.SetCut([&] { ++cuts; });
        class StoppingOperator : public PrinterOperator {
        public:
            explicit StoppingOperator(PrinterStop& stop) : m_stop(stop) {}
            bool Ask(PrinterQuestion) override {
                m_stop.Stop();
                return true;
            }
            void Tell(const PrinterReport&) override {}

        private:
            PrinterStop& m_stop;
        } op(stop);
        ScriptedLink script({Answer(c.block, ShortReply('B'))});
        StoppableLink link(script, stop);
        const ExchangeOutcome out =
            c.all ? ClearAllRegisteredData(link, op) : DeleteRegisteredData(link, 7, op);
        EXPECT_FALSE(out.succeeded);
        EXPECT_EQ(script.Written(), c.block);
        EXPECT_EQ(cuts, 1);
    }
}
