#include "form/connection_test.h"

#include <optional>
#include <string>

#include "form/message_box_operator.h"
#include "form/printer_messages.h"
#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "framework/wait_cursor.h"
#include "printer/listing_exchange.h"
#include "printer/printer_operation.h"
#include "printer/registered_data.h"
#include "res/resource_ids.h"

namespace {

// Keeps the listing for the test alone. The query's own messages speak of
// the form's list, which the test leaves alone, so they are held back; what
// went wrong on the way to the printer is told as it comes.
class TestPanel : public OutcomeHandler, public PrinterOperator {
public:
    explicit TestPanel(PrinterOperator& side) : m_side(side) {}

    void PortOpened() override { m_wait.emplace(); }
    void ApplyListing(const ListingUpdate& update) override {
        m_data.Apply(update, [](const std::string&) { return 0; });
    }
    void ClosePort() override { m_wait.reset(); }
    bool Ask(PrinterQuestion) override { return false; } // the listing asks nothing
    void Tell(const PrinterReport& report) override {
        if (report.task != PrinterTask::Query)
            m_side.Tell(report);
    }

    const RegisteredData& Data() const { return m_data; }

private:
    PrinterOperator& m_side;
    RegisteredData m_data;
    std::optional<CWaitCursor> m_wait; // while connecting and asking
};

} // namespace

void TestPrinterConnection(HWND owner, const PrinterAddress& printer) {
    HWND boxOwner = owner;
    CMessageBoxOperator boxes(boxOwner);
    OperatorPrinterSide side(boxes);
    TestPanel panel(side);
    ExchangeOutcome outcome;
    if (!RunPrinterOperation(printer, panel, panel, QueryRegisteredData, &outcome))
        return; // not connected: told already
    if (outcome.succeeded) {
        const RegisteredData& data = panel.Data();
        const std::wstring text =
            LoadTextWith(IDS_NET_TEST_DONE, {FromCodePage(PrinterAddressText(printer)),
                                             std::to_wstring(data.m_records.size()),
                                             std::to_wstring(data.MemoryKilobytes())});
        MessageBoxW(owner, text.c_str(), LoadText(IDS_RESULT_CAPTION).c_str(),
                    MB_OK | MB_ICONINFORMATION);
    } else if (outcome.report.result == PrinterResult::NetworkConnectionLost) {
        side.Tell(outcome.report);
    } else {
        // Something answered at the address, but not as a printer does.
        boxes.ShowMessageAbout(IDS_NET_TEST_NO_LISTING, PrinterAddressText(printer));
    }
}
