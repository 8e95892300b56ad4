// The batch window's windowless parts: the result table as CSV, the
// one-printer rule both front ends apply, and a run in the background that
// ends by itself and reports its printers.
#include <gtest/gtest.h>

#include <atomic>
#include <map>

#include "operations/batch_run.h"
#include "operations/result_csv.h"
#include "printer/one_printer.h"
#include "printer/printer_list.h"

namespace {

TEST(ResultCsv, QuotesOnlyWhatMustBeQuoted) {
    const struct {
        std::string field, written;
    } cases[] = {
        {"127.0.0.1:9100", "127.0.0.1:9100"},
        {"a,b", "\"a,b\""},
        {"say \"no\"", "\"say \"\"no\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"登録に失敗しました。", "登録に失敗しました。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvText({{c.field, "x"}}), "\xEF\xBB\xBF" + c.written + ",x\r\n") << c.field;
}

PrinterAddress Item(const char* text) {
    return *ParsePrinterItem(text);
}

TEST(OnePrinterRule, RefusesOnePrinterUnderTwoNames) {
    OnePrinterRule rule;
    EXPECT_EQ(rule.Take(Item("3"), 0), std::nullopt);
    EXPECT_EQ(rule.Take(Item("printer-1"), 1), std::nullopt);
    EXPECT_EQ(rule.Take(Item("03"), 2), std::optional<size_t>(0));
    EXPECT_EQ(rule.Take(Item("PRINTER-1:9100"), 3), std::optional<size_t>(1));
    // Names that resolve to one endpoint are one printer too.
    const std::map<std::string, std::vector<std::string>> endpoints{{"a", {"inet 10.0.0.1 9100"}},
                                                                    {"b", {"inet 10.0.0.2 9100"}},
                                                                    {"c", {"inet 10.0.0.1 9100"}}};
    const EndpointResolver resolve = [&](const PrinterAddress& p) {
        return endpoints.at(PrinterAddressText(p).substr(0, 1));
    };
    const std::vector<PrinterAddress> printers{Item("1"), Item("a"), Item("b"), Item("c")};
    EXPECT_EQ(FirstSharedEndpoint(printers, resolve),
              std::make_optional(std::pair<size_t, size_t>(1, 3)));
}

TEST(BatchRun, EndsByItselfAndReportsEveryPrinter) {
    std::atomic<int> ended{0};
    BatchRun run(
        std::vector<PlannedRegistration>(1), {"COM1", "COM2"},
        [](size_t) {
            OpenedPrinter none;
            none.problem.result = PrinterResult::PortNotOpened;
            return none;
        },
        {}, 1, [&] { ++ended; });
    while (!run.Ended())
        std::this_thread::yield();
    EXPECT_EQ(ended, 1);
    ASSERT_EQ(run.Results().size(), 2u);
    for (const PortResult& result : run.Results())
        EXPECT_EQ(result.outcome, PortOutcome::Failed);
}

} // namespace
