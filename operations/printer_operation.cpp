#include "operations/printer_operation.h"

#include <memory>

#include "printer/printer_connection.h"
#include "printer/printer_stop.h"

namespace {

// Routes the outcome's close step to the printer before the handler sees it.
class ClosingHandler : public OutcomeHandler {
public:
    ClosingHandler(std::unique_ptr<PrinterConnection>& connection, OutcomeHandler& inner)
        : m_connection(connection), m_inner(inner) {}
    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_inner.ApplyListing(update, extent);
    }
    void ClosePort() override {
        m_connection.reset();
        m_inner.ClosePort();
    }

private:
    std::unique_ptr<PrinterConnection>& m_connection;
    OutcomeHandler& m_inner;
};

// The outcome of an exchange the operator stopped before it was done.
ExchangeOutcome StoppedOutcome(const ExchangeOutcome& exchanged, const std::string& printer) {
    ExchangeOutcome stopped;
    stopped.report = {exchanged.report.task, PrinterResult::Stopped, 0, printer};
    stopped.report.proceedSent = exchanged.report.proceedSent;
    return stopped;
}

ExchangeOutcome RunExchange(PrinterConnection& connection,
                            const std::function<ExchangeOutcome(PrinterLink&)>& exchange,
                            PrinterStop* stop) {
    if (!stop)
        return exchange(connection.Link());
    StoppableLink link(connection.Link(), *stop);
    return exchange(link);
}

} // namespace

bool RunPrinterOperation(const PrinterAddress& printer, PrinterOperator& op,
                         OutcomeHandler& handler,
                         const std::function<ExchangeOutcome(PrinterLink&)>& exchange,
                         ExchangeOutcome* result, PrinterStop* stop) {
    // Connecting to a network printer can take the whole connect time-out:
    // the handler hears of it first (the wait cursor shows meanwhile).
    const bool connecting = printer.IsNetwork();
    if (connecting)
        handler.PortOpened();
    OpenedPrinter opened = OpenPrinter(printer, stop);
    if (!opened.connection) {
        if (connecting)
            handler.ClosePort();
        op.Tell(opened.problem);
        return false;
    }
    if (!connecting)
        handler.PortOpened();
    if (opened.problem.result != PrinterResult::Done)
        op.Tell(opened.problem);
    ExchangeOutcome outcome = RunExchange(*opened.connection, exchange, stop);
    if (!outcome.succeeded)
        NamePrinterInFailure(*opened.connection, PrinterAddressText(printer), outcome.report);
    if (!outcome.succeeded && stop && stop->Stopped())
        outcome = StoppedOutcome(outcome, PrinterAddressText(printer));
    ClosingHandler closing(opened.connection, handler);
    PlayOutcome(outcome, closing, op);
    if (opened.connection)
        closing.ClosePort();
    if (result)
        *result = std::move(outcome);
    return true;
}
