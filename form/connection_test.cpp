#include "form/connection_test.h"

#include <string>

#include "form/message_box_operator.h"
#include "form/window_printer_task.h"
#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "operations/printer_messages.h"
#include "operations/printer_operation.h"
#include "printer/listing_exchange.h"
#include "printer/printer_stop.h"
#include "printer/registered_data.h"
#include "res/resource_ids.h"

namespace {

// Keeps the listing for the test alone. The query's own messages speak of
// the form's list, which the test leaves alone, so they are held back; what
// went wrong on the way to the printer is told as it comes.
class TestPanel : public OutcomeHandler, public PrinterOperator {
public:
    explicit TestPanel(PrinterOperator& side) : m_side(side) {}

    void ApplyListing(const ListingUpdate& update, ExtentChange) override { m_data.Apply(update); }
    void ClosePort() override {}
    bool Ask(PrinterQuestion) override { return false; } // the listing asks nothing
    void Tell(const PrinterReport& report) override {
        if (report.task != PrinterTask::Query)
            m_side.Tell(report);
    }

    const RegisteredData& Data() const { return m_data; }

private:
    PrinterOperator& m_side;
    RegisteredData m_data;
};

// The test's listing goes to its own panel, never to the form's list.
class NoListing : public OutcomeHandler {
public:
    void ApplyListing(const ListingUpdate&, ExtentChange) override {}
    void ClosePort() override {}
};

} // namespace

void TestPrinterConnection(HWND owner, const PrinterAddress& printer) {
    HWND boxOwner = owner;
    CMessageBoxOperator boxes(boxOwner);
    NoListing noListing;
    RegisteredData data;
    ExchangeOutcome outcome;
    bool connected = false;
    // The dialog waits for the answer, answering and painting meanwhile;
    // what went wrong on the way is told as it comes, over the dialog.
    RunWhileHeld(owner, boxes, noListing,
                 [&](Operator& op, OutcomeHandler&, DownloadProgress&, PrinterStop& stop) {
                     OperatorPrinterSide side(op);
                     TestPanel panel(side);
                     connected = RunPrinterOperation(printer, panel, panel, QueryRegisteredData,
                                                     &outcome, &stop);
                     data = panel.Data();
                     return connected && outcome.succeeded;
                 });
    if (!connected)
        return; // not connected: told already
    OperatorPrinterSide side(boxes);
    if (outcome.succeeded) {
        const std::wstring text =
            LoadTextWith(IDS_NET_TEST_DONE, {FromCodePage(PrinterAddressText(printer)),
                                             std::to_wstring(data.m_records.size()),
                                             std::to_wstring(data.MemoryKilobytes())});
        ResultMessageBox(owner, text, MB_OK | MB_ICONINFORMATION);
    } else if (outcome.report.result == PrinterResult::NetworkConnectionLost ||
               outcome.report.result == PrinterResult::Stopped) {
        side.Tell(outcome.report);
    } else if (outcome.report.result == PrinterResult::NotPrinterAnswer) {
        // Something answered at the address, but not as a printer does.
        boxes.ShowMessageAbout(IDS_NET_TEST_NOT_PRINTER, PrinterAddressText(printer));
    } else {
        boxes.ShowMessageAbout(IDS_NET_TEST_NO_LISTING, PrinterAddressText(printer));
    }
}
