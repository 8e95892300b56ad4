#include "printer/listing_exchange.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "operations/outcome_play.h"
#include "printer/registered_data.h"
#include "printer_bytes.h"

namespace {

using S = OutcomeStep;
using Steps = std::vector<OutcomeStep>;

// A panel that already shows an earlier listing, so that "kept" and
// "emptied" can be told apart.
ListedPanel EarlierPanel() {
    ListedPanel panel;
    ListingUpdate earlier;
    earlier.list = ListChange::Fill;
    earlier.memory = MemoryChange::Usage;
    earlier.memoryUse = 5 * 1024;
    CFontPT old;
    old.ParseInfoBlock(Block("09", "Old", 1, 0).data());
    earlier.records = {old};
    panel.Take(earlier, ExtentChange::EachLine, [](const std::string&) { return 50; });
    return panel;
}

int Width(const std::string& line) {
    return int(line.size()) * 10;
}

TEST(Query, CodeAEmptiesTheListAndShowsNothingRegistered) {
    ScriptedLink link({Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::ShowMessage, S::UpdateListing}));
    EXPECT_EQ(out.report.task, PrinterTask::Query);
    EXPECT_EQ(out.report.result, PrinterResult::NothingRegistered);
    EXPECT_EQ(link.Written(), kInfoRequest);
    EXPECT_TRUE(link.Mismatch().empty());

    ListedPanel panel = EarlierPanel();
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_TRUE(panel.data.m_lines.empty());
    EXPECT_TRUE(panel.data.m_records.empty());
    EXPECT_EQ(panel.extent, 0);
    EXPECT_TRUE(panel.data.MemoryAvailable());
    EXPECT_EQ(panel.data.MemoryKilobytes(), 0);
}

TEST(Query, CodeBWithNoDataReadsOnlyTheMarks) {
    ScriptedLink link(
        {Answer(kInfoRequest, InfoReply('B', 0)), Answer(kProceed, Cat({kStx, kEtx}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::UpdateListing, S::ClosePort, S::ShowMessage}));
    EXPECT_EQ(out.report.result, PrinterResult::Done);
    EXPECT_EQ(link.ReadCalls(), 3); // info reply, STX, ETX
    EXPECT_TRUE(link.ScriptDone());

    ListedPanel panel = EarlierPanel();
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_TRUE(panel.data.m_lines.empty());
    EXPECT_EQ(panel.extent, 52); // an empty listing does not reset the extent
    EXPECT_EQ(panel.data.MemoryKilobytes(), 0);
}

TEST(Query, OneRecordGivesItsLineAndMemoryUse) {
    // 100 + 6 x 100 = 700 bytes of records.
    ScriptedLink link(
        {Answer(kInfoRequest, InfoReply('B', 700)),
         Answer(kProceed, Cat({kStx, Block("05", "Sample", 72, 100), Entries(100), kEtx}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    ASSERT_TRUE(out.succeeded);
    ASSERT_EQ(out.listing.records.size(), 1u);
    EXPECT_EQ(out.listing.memoryUse, 8200u); // 7200 + 10 x 100
    const CFontPT& r = out.listing.records[0];
    ASSERT_EQ(r.m_charEntries.size(), 100u);
    EXPECT_EQ(r.m_charEntries[0], (CFontPT::CharEntry{0x42, 0x30, 0x00, 0x18, 0x00, 0x1C}));
    EXPECT_EQ(r.m_charEntries[99], (CFontPT::CharEntry{0xA5, 0x30, 0x00, 0x18, 0x00, 0x1C}));

    ListedPanel panel;
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_EQ(panel.data.m_lines, (std::vector<std::string>{"ID05 Sample 7200byte"}));
    EXPECT_EQ(panel.data.MemoryKilobytes(), 8);
    EXPECT_EQ(link.Unread(), 0u);
}

TEST(Query, TwoRecordsReadExactlyTheAnnouncedBlocksAndEntries) {
    // 100 + 18 + 100 = 218.
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 218)),
                       Answer(kProceed, Cat({kStx, Block("01", "One", 10, 3), Entries(3, 0x41),
                                             Block("02", "Two", 10, 0), kEtx}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    ASSERT_TRUE(out.succeeded);
    ASSERT_EQ(out.listing.records.size(), 2u);
    EXPECT_EQ(out.listing.records[0].m_charEntries.size(), 3u);
    EXPECT_EQ(out.listing.records[0].m_charEntries[2][0], 0x43);
    EXPECT_EQ(out.listing.records[1].m_charEntries.size(), 0u);
    // info, STX, block, 3 entries, block, ETX
    EXPECT_EQ(link.ReadCalls(), 8);
    EXPECT_EQ(out.listing.memoryUse, 30u + 30u);
}

TEST(Query, UnknownCodeIsACompleteListingWithoutEntries) {
    ScriptedLink link({Answer(kInfoRequest, InfoReply('Q', 700))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(out.report.result, PrinterResult::Done);
    EXPECT_EQ(out.listing.list, ListChange::Fill);
    EXPECT_TRUE(out.listing.records.empty());
    EXPECT_EQ(out.listing.memory, MemoryChange::Usage);
    EXPECT_EQ(out.listing.memoryUse, 0u);
    EXPECT_EQ(link.Written(), kInfoRequest); // no Proceed
}

TEST(Query, WhatNoPrinterSendsIsNeitherAListingNorAFailedOne) {
    // A web server, a stream of bytes, records that outgrow their length,
    // anything after the answer: the peer is no printer, and nothing it sent
    // reaches the list.
    const Bytes record = Cat({Block("05", "X", 72, 1), Entries(1)}); // 106 bytes
    const struct {
        const char* what;
        std::vector<ScriptStep> script;
    } cases[] = {
        {"web server", {Answer(kInfoRequest, B("HTTP/1.1 400 Bad Request\r\n\r\n"))}},
        {"one byte over and over", {Answer(kInfoRequest, Bytes(64, 'x'))}},
        {"digits cut short",
         {Answer(kInfoRequest, B("\x02"
                                 "B0000010 \x03"))}},
        {"unknown code, then more", {Answer(kInfoRequest, Cat({InfoReply('Z', 0), B("more")}))}},
        {"nothing registered, then more", {Answer(kInfoRequest, Cat({InfoReply('A', 0), kAck}))}},
        {"records longer than announced",
         {Answer(kInfoRequest, InfoReply('B', 100)), Answer(kProceed, Cat({kStx, record, kEtx}))}},
        {"another end mark",
         {Answer(kInfoRequest, InfoReply('B', 106)), Answer(kProceed, Cat({kStx, record, kAck}))}},
        {"more after the end mark",
         {Answer(kInfoRequest, InfoReply('B', 106)),
          Answer(kProceed, Cat({kStx, record, kEtx, kEtx}))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedLink link(c.script);
        const ExchangeOutcome out = QueryRegisteredData(link);
        EXPECT_FALSE(out.succeeded);
        EXPECT_EQ(out.report.result, PrinterResult::NotPrinterAnswer);
        EXPECT_EQ(out.listing.list, ListChange::Empty);
        EXPECT_TRUE(out.listing.records.empty());
        EXPECT_EQ(RefreshRegisteredData(*std::make_unique<ScriptedLink>(c.script)).listing.memory,
                  MemoryChange::NotAvailable);
    }
}

TEST(Query, SecondTryAfterASilentFirst) {
    ScriptedLink link({Silent(kInfoRequest), Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_EQ(out.report.result, PrinterResult::NothingRegistered);
    EXPECT_EQ(link.Written(), Cat({kInfoRequest, kInfoRequest}));
    // The first read waited three attempts of 10 x 11 x 11 + 100 ms.
    EXPECT_EQ(link.NowMs(), 3u * 1310u);
}

TEST(Query, NoReplyToEitherTryFailsBeforeClosing) {
    ScriptedLink link({Silent(kInfoRequest), Silent(kInfoRequest)});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_FALSE(out.succeeded);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::UpdateListing, S::ShowMessage, S::ClosePort}));
    EXPECT_EQ(out.report.result, PrinterResult::NoAnswer);
    EXPECT_EQ(link.ReadAttempts(), 6);
    EXPECT_EQ(link.NowMs(), 6u * 1310u);

    ListedPanel panel = EarlierPanel();
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_TRUE(panel.data.m_lines.empty());
    EXPECT_EQ(panel.data.MemoryKilobytes(), 5); // memory line kept
    EXPECT_EQ(panel.extent, 52);
}

TEST(Query, ReplySplitWithinTheTimeoutArrivesWhole) {
    ScriptedLink link({SplitAnswer(kInfoRequest, InfoReply('A', 0), 4, 1000)});
    EXPECT_EQ(QueryRegisteredData(link).report.result, PrinterResult::NothingRegistered);
    EXPECT_EQ(link.ReadAttempts(), 1);
}

TEST(Query, ReplySplitAcrossTheTimeoutLosesItsFirstPiece) {
    // 4 bytes at once, the other 7 after 2000 ms: the first attempt (1310 ms)
    // returns 4, the second the 7; both short, both dropped. The second try
    // then gets a clean reply.
    ScriptedLink link({SplitAnswer(kInfoRequest, InfoReply('B', 0), 4, 2000),
                       Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_EQ(out.report.result, PrinterResult::NothingRegistered);
    EXPECT_EQ(link.Written(), Cat({kInfoRequest, kInfoRequest}));
}

TEST(Query, TailArrivingAfterTheLastAttemptStaysBehindTheSecondTry) {
    // The tail comes at 4500 ms, after the third attempt gave up at 3930 ms;
    // the second try's reply, sent at once, is read whole before it.
    ScriptedLink link({SplitAnswer(kInfoRequest, InfoReply('B', 0), 4, 4500),
                       Answer(kInfoRequest, InfoReply('A', 0))});
    EXPECT_EQ(QueryRegisteredData(link).report.result, PrinterResult::NothingRegistered);
    EXPECT_EQ(link.Unread(), 7u);
}

TEST(Query, GarbledStartMarkIsNoPrintersAnswerAndKeepsTheMemoryLine) {
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 100)),
                       Answer(kProceed, Cat({Bytes{0x15}, Block("01", "X", 1, 0), kEtx}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_FALSE(out.succeeded);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::ShowMessage, S::UpdateListing}));
    EXPECT_EQ(out.report.result, PrinterResult::NotPrinterAnswer);
    EXPECT_EQ(link.ReadCalls(), 2);
    ListedPanel panel = EarlierPanel();
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_TRUE(panel.data.m_records.empty());
    EXPECT_EQ(panel.data.MemoryKilobytes(), 5);
}

TEST(Query, MissingEndMarkFails) {
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 100)),
                       Answer(kProceed, Cat({kStx, Block("01", "X", 1, 0)}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_EQ(out.report.result, PrinterResult::ListingDamaged);
    EXPECT_EQ(out.listing.list, ListChange::Empty);
    EXPECT_EQ(out.listing.memory, MemoryChange::Keep);
}

TEST(Query, MoreThanAHundredRecordsAreRefused) {
    Bytes data = kStx;
    for (int i = 0; i < 101; ++i)
        data = Cat({data, Block("01", "R", 1, 0)});
    data = Cat({data, kEtx});
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 10100)), Answer(kProceed, data)});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_FALSE(out.succeeded);
    EXPECT_EQ(out.report.result, PrinterResult::ListingDamaged);
    EXPECT_EQ(out.listing.list, ListChange::Empty);
    EXPECT_EQ(link.ReadCalls(), 1 + 1 + 100); // the 101st block is never read
}

TEST(Query, ExactlyAHundredRecordsAreAccepted) {
    Bytes data = kStx;
    for (int i = 0; i < 100; ++i)
        data = Cat({data, Block("01", "R", 1, 0)});
    data = Cat({data, kEtx});
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 10000)), Answer(kProceed, data)});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_TRUE(out.succeeded);
    EXPECT_EQ(out.listing.records.size(), 100u);
}

TEST(Query, RecordOfMoreThanFiveThousandCharactersIsRefused) {
    ScriptedLink link(
        {Answer(kInfoRequest, InfoReply('B', 100 + 6 * 5001)),
         Answer(kProceed, Cat({kStx, Block("01", "Big", 1, 5001), Entries(5001), kEtx}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_EQ(out.report.result, PrinterResult::ListingDamaged);
    EXPECT_EQ(link.ReadCalls(), 3); // info, STX, block: no entry is read
}

TEST(Query, RecordOfFiveThousandCharactersFits) {
    ScriptedLink link(
        {Answer(kInfoRequest, InfoReply('B', 100 + 6 * 5000)),
         Answer(kProceed, Cat({kStx, Block("01", "Big", 1, 5000), Entries(5000), kEtx}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    ASSERT_TRUE(out.succeeded);
    EXPECT_EQ(out.listing.records[0].m_charEntries.size(), 5000u);
}

TEST(Query, PrinterFallingSilentMidRecordStopsAtOnce) {
    // 3 entries announced, 1 sent: the second entry read fails and nothing
    // more is read (not even the end mark).
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 118)),
                       Answer(kProceed, Cat({kStx, Block("01", "Cut", 1, 3), Entries(1)}))});
    const ExchangeOutcome out = QueryRegisteredData(link);
    EXPECT_EQ(out.report.result, PrinterResult::ListingDamaged);
    EXPECT_EQ(link.ReadCalls(), 1 + 1 + 1 + 2);
}

TEST(Query, ExtentWidensOnlyOverThePreviousLine) {
    const std::map<std::string, int> widths{
        {"ID01 a 0byte", 120}, {"ID02 b 0byte", 80}, {"ID03 c 0byte", 100}};
    const auto width = [&](const std::string& line) { return widths.at(line); };
    const Bytes data =
        Cat({kStx, Block("01", "a", 0, 0), Block("02", "b", 0, 0), Block("03", "c", 0, 0), kEtx});

    ScriptedLink query({Answer(kInfoRequest, InfoReply('B', 300)), Answer(kProceed, data)});
    ListedPanel panel;
    ExchangeOutcome out = QueryRegisteredData(query);
    // After the first line the extent is 122; the third line (100 > 80) sets 102.
    out.listing.records.pop_back();
    out.listing.records.pop_back();
    panel.Take(out.listing, PlayOf(out).extent, width);
    EXPECT_EQ(panel.extent, 122);

    ScriptedLink again({Answer(kInfoRequest, InfoReply('B', 300)), Answer(kProceed, data)});
    const ExchangeOutcome second = QueryRegisteredData(again);
    panel.Take(second.listing, PlayOf(second).extent, width);
    EXPECT_EQ(panel.extent, 102);

    ScriptedLink refresh({Answer(kInfoRequest, InfoReply('B', 300)), Answer(kProceed, data)});
    ListedPanel refreshed;
    const ExchangeOutcome third = RefreshRegisteredData(refresh);
    refreshed.Take(third.listing, PlayOf(third).extent, width);
    EXPECT_EQ(refreshed.extent, 102);
}

TEST(Query, NarrowerLinesLeaveTheQueryExtent) {
    // Widths 100 then 60: the query keeps 102; the refresh ends at 62.
    const std::map<std::string, int> widths{{"ID01 a 0byte", 100}, {"ID02 b 0byte", 60}};
    const auto width = [&](const std::string& line) { return widths.at(line); };
    const Bytes data = Cat({kStx, Block("01", "a", 0, 0), Block("02", "b", 0, 0), kEtx});
    ScriptedLink query({Answer(kInfoRequest, InfoReply('B', 200)), Answer(kProceed, data)});
    ScriptedLink refresh({Answer(kInfoRequest, InfoReply('B', 200)), Answer(kProceed, data)});
    ListedPanel a, b;
    const ExchangeOutcome queried = QueryRegisteredData(query);
    const ExchangeOutcome refreshed = RefreshRegisteredData(refresh);
    a.Take(queried.listing, PlayOf(queried).extent, width);
    b.Take(refreshed.listing, PlayOf(refreshed).extent, width);
    EXPECT_EQ(a.extent, 102);
    EXPECT_EQ(b.extent, 62);
}

TEST(Refresh, OneTryOnlyAndNoMessage) {
    ScriptedLink link({Silent(kInfoRequest), Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = RefreshRegisteredData(link);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::UpdateListing, S::ClosePort}));
    EXPECT_EQ(out.report.task, PrinterTask::Refresh);
    EXPECT_EQ(link.Written(), kInfoRequest);
    ListedPanel panel = EarlierPanel();
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_TRUE(panel.data.m_lines.empty());
    EXPECT_EQ(panel.data.MemoryKilobytes(), 5);
}

TEST(Refresh, CodeAClosesThenEmpties) {
    ScriptedLink link({Answer(kInfoRequest, InfoReply('A', 0))});
    const ExchangeOutcome out = RefreshRegisteredData(link);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::UpdateListing}));
    ListedPanel panel = EarlierPanel();
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_EQ(panel.extent, 0);
    EXPECT_TRUE(panel.data.MemoryAvailable());
    EXPECT_EQ(panel.data.MemoryKilobytes(), 0);
}

TEST(Refresh, MissingMarksShowNotAvailable) {
    ScriptedLink noStx({Answer(kInfoRequest, InfoReply('B', 0)), Silent(kProceed)});
    ScriptedLink noEtx(
        {Answer(kInfoRequest, InfoReply('B', 0)), Answer(kProceed, Cat({kStx, kStx}))});
    for (ScriptedLink* link : {&noStx, &noEtx}) {
        const ExchangeOutcome out = RefreshRegisteredData(*link);
        EXPECT_EQ(PlayOf(out).steps, (Steps{S::ClosePort, S::UpdateListing}));
        ListedPanel panel = EarlierPanel();
        panel.Take(out.listing, PlayOf(out).extent, Width);
        EXPECT_TRUE(panel.data.m_lines.empty());
        EXPECT_FALSE(panel.data.MemoryAvailable());
    }
}

TEST(Refresh, ListingFillsWithoutMessage) {
    ScriptedLink link({Answer(kInfoRequest, InfoReply('B', 100)),
                       Answer(kProceed, Cat({kStx, Block("12", "Logo", 2000, 1), kEtx}))});
    // Entries announced but missing: 1 entry of 6 bytes is not there.
    const ExchangeOutcome cut = RefreshRegisteredData(link);
    EXPECT_EQ(cut.listing.memory, MemoryChange::NotAvailable);

    ScriptedLink whole({Answer(kInfoRequest, InfoReply('B', 106)),
                        Answer(kProceed, Cat({kStx, Block("12", "Logo", 2000, 1),
                                              Bytes{0x6B, 0x82, 0, 0, 0, 0}, kEtx}))});
    const ExchangeOutcome out = RefreshRegisteredData(whole);
    EXPECT_EQ(PlayOf(out).steps, (Steps{S::UpdateListing, S::ClosePort}));
    ASSERT_EQ(out.listing.records.size(), 1u);
    ASSERT_EQ(out.listing.records[0].m_charEntries.size(), 1u);
    EXPECT_EQ(out.listing.records[0].m_charEntries[0][0], 0x6B);
    ListedPanel panel;
    panel.Take(out.listing, PlayOf(out).extent, Width);
    EXPECT_EQ(panel.data.m_lines[0], "ID12 Logo 2000byte");
    EXPECT_EQ(panel.data.MemoryKilobytes(), 1); // 2010 / 1024
}

} // namespace
