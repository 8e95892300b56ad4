#include "operations/outcome_play.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using S = OutcomeStep;
using R = PrinterResult;
using T = PrinterTask;

struct Recorder : OutcomeHandler, PrinterOperator {
    std::vector<std::string> calls;
    void ApplyListing(const ListingUpdate&, ExtentChange) override { calls.push_back("list"); }
    void ClosePort() override { calls.push_back("close"); }
    void Tell(const PrinterReport&) override { calls.push_back("tell"); }
    bool Ask(PrinterQuestion) override { return false; }
};

// The order the form plays each outcome in, and how the list's extent moves:
// the query's silence tells before the port closes, a failed download tells
// while the progress window is up, a deletion or download that refreshed
// tells last.
TEST(OutcomePlay, EachOutcomeInItsOrder) {
    const struct {
        T task;
        R result;
        ListingRead read;
        R listed;
        bool succeeded;
        std::vector<std::string> calls;
        ExtentChange extent;
    } cases[] = {
        {T::Query,
         R::NoAnswer,
         ListingRead::Query,
         R::NoAnswer,
         false,
         {"list", "tell", "close"},
         ExtentChange::Keep},
        {T::Query,
         R::NothingRegistered,
         ListingRead::Query,
         R::NothingRegistered,
         true,
         {"close", "tell", "list"},
         ExtentChange::Zero},
        {T::Query,
         R::Done,
         ListingRead::Query,
         R::Done,
         true,
         {"list", "close", "tell"},
         ExtentChange::Widening},
        {T::Query,
         R::NotPrinterAnswer,
         ListingRead::Query,
         R::NotPrinterAnswer,
         false,
         {"close", "tell", "list"},
         ExtentChange::Keep},
        {T::Refresh,
         R::Done,
         ListingRead::Refresh,
         R::Done,
         true,
         {"list", "close"},
         ExtentChange::EachLine},
        {T::Refresh,
         R::ListingDamaged,
         ListingRead::Refresh,
         R::ListingDamaged,
         false,
         {"close", "list"},
         ExtentChange::Keep},
        {T::DeleteEntry,
         R::Done,
         ListingRead::Refresh,
         R::Done,
         true,
         {"list", "close", "tell"},
         ExtentChange::EachLine},
        {T::DeleteEntry,
         R::NothingRegistered,
         ListingRead::None,
         R::Done,
         false,
         {"close", "tell"},
         ExtentChange::Keep},
        {T::DeleteEntry,
         R::Declined,
         ListingRead::None,
         R::Done,
         false,
         {"close"},
         ExtentChange::Keep},
        {T::ClearAll,
         R::Done,
         ListingRead::None,
         R::Done,
         true,
         {"close", "tell", "list"},
         ExtentChange::Keep},
        {T::ClearAll,
         R::NoAnswer,
         ListingRead::None,
         R::Done,
         false,
         {"close", "tell"},
         ExtentChange::Keep},
        {T::Download,
         R::Done,
         ListingRead::Refresh,
         R::NothingRegistered,
         true,
         {"close", "list", "tell"},
         ExtentChange::Zero},
        {T::Download,
         R::CharacterNotAcknowledged,
         ListingRead::None,
         R::Done,
         false,
         {"tell", "close"},
         ExtentChange::Keep},
        {T::Download,
         R::Declined,
         ListingRead::None,
         R::Done,
         false,
         {"close"},
         ExtentChange::Keep},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.task)) + "/" + std::to_string(int(c.result)));
        ExchangeOutcome out;
        out.succeeded = c.succeeded;
        out.report = {c.task, c.result};
        out.read = c.read;
        out.listingResult = c.listed;
        Recorder r;
        PlayOutcome(out, r, r);
        EXPECT_EQ(r.calls, c.calls);
        EXPECT_EQ(PlayOf(out).extent, c.extent);
    }
}

} // namespace
