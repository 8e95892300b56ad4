// The operations of the main form that talk to the printer: Download, Get
// info, Clear and All clear.
#include "form/form_operations.h"

#include <optional>

#include "form/printer_messages.h"
#include "framework/wait_cursor.h"
#include "printer/delete_exchange.h"
#include "printer/download_file.h"
#include "printer/listing_exchange.h"
#include "printer/printer_operation.h"
#include "res/resource_ids.h"

// Turns an exchange's steps into what the form shows: the wait cursor while
// the port is held, the registered data, the progress of a transfer.
class CFormOperations::Panel : public OutcomeHandler, public DownloadProgress {
public:
    explicit Panel(CFormOperations& form) : m_form(form) {}

    void PortOpened() override { m_wait.emplace(); }
    void ApplyListing(const ListingUpdate& update) override { m_form.TakeListing(update); }
    void ClosePort() override { m_wait.reset(); }
    void TransferStarting() override { m_form.m_display.TransferStarting(); }
    void CharacterSent(uint32_t count, uint32_t index) override {
        m_form.m_display.CharacterSent(count, index);
    }

private:
    CFormOperations& m_form;
    std::optional<CWaitCursor> m_wait; // while the port is held
};

void CFormOperations::TakeListing(const ListingUpdate& update) {
    m_registered.Apply(update,
                       [this](const std::string& line) { return m_display.LineWidth(line); });
    m_display.ShowRegisteredData(m_registered);
}

bool CFormOperations::RunOnPrinter(const PrinterAddress& printer,
                                   const std::function<ExchangeOutcome(PrinterLink&)>& exchange) {
    Panel panel(*this);
    OperatorPrinterSide side(m_operator);
    ExchangeOutcome outcome;
    return RunPrinterOperation(printer, side, panel, exchange, &outcome) && outcome.succeeded;
}

bool CFormOperations::DownloadFont(const FormFields& fields, const std::string& registrationId,
                                   const FormEnvironment& environment) {
    // The temporary file goes away at the end, whatever happened.
    const std::unique_ptr<PreparedDownload> prepared =
        PrepareDownload(fields, registrationId, environment);
    if (!prepared)
        return false;
    OperatorPrinterSide asking(m_operator, prepared->overwriteLine);
    Panel panel(*this);
    ExchangeOutcome outcome;
    const SendResult sent = SendDownloadFile(prepared->file.Path(), prepared->record,
                                             environment.printer, asking, panel, panel, &outcome);
    return sent == SendResult::Exchanged && outcome.succeeded;
}

bool CFormOperations::QueryRegisteredData(const PrinterAddress& printer) {
    return RunOnPrinter(printer, ::QueryRegisteredData);
}

bool CFormOperations::DeleteRegisteredData(std::optional<size_t> selectedLine,
                                           const PrinterAddress& printer) {
    if (!selectedLine || *selectedLine >= m_registered.m_records.size()) {
        m_operator.ShowMessage(IDS_DELETE_SELECT);
        return false;
    }
    return DeleteRegisteredEntry(m_registered.m_records[*selectedLine].m_nId, printer);
}

bool CFormOperations::DeleteRegisteredEntry(int id, const PrinterAddress& printer) {
    OperatorPrinterSide asking(m_operator);
    return RunOnPrinter(
        printer, [&](PrinterLink& link) { return ::DeleteRegisteredData(link, id, asking); });
}

bool CFormOperations::ClearAllRegisteredData(const PrinterAddress& printer) {
    OperatorPrinterSide asking(m_operator);
    return RunOnPrinter(printer,
                        [&](PrinterLink& link) { return ::ClearAllRegisteredData(link, asking); });
}
