// The operations of the main form that talk to the printer: Download, Get
// info, Clear and All clear.
#include "operations/form_operations.h"

#include <optional>

#include "framework/wait_cursor.h"
#include "operations/download_file.h"
#include "operations/printer_messages.h"
#include "operations/printer_operation.h"
#include "printer/delete_exchange.h"
#include "printer/listing_exchange.h"
#include "res/resource_ids.h"

// Turns an exchange's steps into what the form shows: the wait cursor while
// the port is held, the registered data.
class CFormOperations::Panel : public OutcomeHandler {
public:
    explicit Panel(CFormOperations& form) : m_form(form) {}

    void PortOpened() override { m_wait.emplace(); }
    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_form.TakeListing(update, extent);
    }
    void ClosePort() override { m_wait.reset(); }

private:
    CFormOperations& m_form;
    std::optional<CWaitCursor> m_wait; // while the port is held
};

void CFormOperations::TakeListing(const ListingUpdate& update, ExtentChange extent) {
    m_panel.Take(update, extent,
                 [this](const std::string& line) { return m_display.LineWidth(line); });
    m_display.ShowRegisteredData(m_panel.data, m_panel.extent);
}

std::optional<PlannedRegistration>
CFormOperations::BuildDownload(const FormFields& fields, const RegistrationIdField& idField,
                               const FormEnvironment& environment) {
    FormRegistration registration =
        BuildKept(fields, environment, RegistrationAction::Download, idField);
    if (!registration.built) {
        ShowRefusal(registration);
        return std::nullopt;
    }
    PlannedRegistration planned;
    planned.line.id = *registration.registrationId;
    planned.record = std::move(registration.download);
    planned.glyphs = std::move(registration.rendered.glyphData);
    return planned;
}

void CFormOperations::ForgetRegistered() {
    m_panel = ListedPanel();
    m_display.ShowRegisteredData(m_panel.data, m_panel.extent);
}

bool CFormOperations::RunCommand(const PrinterAddress& printer, const PrinterCommand& command,
                                 Operator& op, OutcomeHandler& handler, PrinterStop* stop,
                                 ExchangeOutcome* outcome) {
    OperatorPrinterSide side(op);
    ExchangeOutcome exchanged;
    const bool ran = RunPrinterOperation(
        printer, side, handler, [&](PrinterLink& link) { return command(link, side); }, &exchanged,
        stop);
    const bool succeeded = ran && exchanged.succeeded;
    if (outcome)
        *outcome = std::move(exchanged);
    return succeeded;
}

bool CFormOperations::RunOnPrinter(const PrinterAddress& printer, const PrinterCommand& command,
                                   ExchangeOutcome* outcome) {
    Panel panel(*this);
    return RunCommand(printer, command, m_operator, panel, nullptr, outcome);
}

bool CFormOperations::RunDeletion(const PrinterAddress& printer, const PrinterCommand& command) {
    // An outcome that never ran (the printer could not be opened) is no
    // answer of a printer that holds nothing.
    ExchangeOutcome outcome;
    outcome.report.result = PrinterResult::NoAnswer;
    return RunOnPrinter(printer, command, &outcome) || LeftNothingToDelete(outcome);
}

CFormOperations::PrinterCommand CFormOperations::QueryCommand() {
    return [](PrinterLink& link, PrinterOperator&) { return ::QueryRegisteredData(link); };
}

std::optional<CFormOperations::PrinterCommand>
CFormOperations::DeleteCommand(std::optional<size_t> selectedLine) const {
    if (!selectedLine || *selectedLine >= m_panel.data.m_records.size()) {
        m_operator.ShowMessage(IDS_DELETE_SELECT);
        return std::nullopt;
    }
    return DeleteCommand(m_panel.data.m_records[*selectedLine].m_nId);
}

CFormOperations::PrinterCommand CFormOperations::DeleteCommand(int id) {
    return [id](PrinterLink& link, PrinterOperator& asking) {
        return ::DeleteRegisteredData(link, id, asking);
    };
}

CFormOperations::PrinterCommand CFormOperations::ClearAllCommand() {
    return [](PrinterLink& link, PrinterOperator& asking) {
        return ::ClearAllRegisteredData(link, asking);
    };
}

bool CFormOperations::QueryRegisteredData(const PrinterAddress& printer) {
    return RunOnPrinter(printer, QueryCommand());
}

bool CFormOperations::DeleteRegisteredEntry(int id, const PrinterAddress& printer) {
    return RunDeletion(printer, DeleteCommand(id));
}

bool CFormOperations::ClearAllRegisteredData(const PrinterAddress& printer) {
    return RunDeletion(printer, ClearAllCommand());
}
