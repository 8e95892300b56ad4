#include "operations/printer_operation.h"

#include <chrono>
#include <memory>

#include "printer/printer_connection.h"
#include "printer/printer_stop.h"
#include "printer/provision_run.h"

namespace {

// The operation's printer as the engine holds it: the connection closes at
// the outcome's close step, before the operator hears the message, while
// the engine goes on holding what it was given until the job returns.
class PlayedConnection : public PrinterConnection {
public:
    explicit PlayedConnection(std::unique_ptr<PrinterConnection> open)
        : m_open(std::move(open)), m_address(m_open->Address()) {}
    PrinterLink& Link() override { return m_open->Link(); }
    bool Lost() const override { return m_open && m_open->Lost(); }
    std::string Address() const override { return m_address; }

    PrinterConnection* Open() { return m_open.get(); }
    void Close() { m_open.reset(); }

private:
    std::unique_ptr<PrinterConnection> m_open;
    std::string m_address;
};

// Routes the outcome's close step to the printer before the handler sees it.
class ClosingHandler : public OutcomeHandler {
public:
    ClosingHandler(PlayedConnection& connection, OutcomeHandler& inner)
        : m_connection(connection), m_inner(inner) {}
    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_inner.ApplyListing(update, extent);
    }
    void ClosePort() override {
        m_connection.Close();
        m_inner.ClosePort();
    }

private:
    PlayedConnection& m_connection;
    OutcomeHandler& m_inner;
};

// The outcome of an exchange the operator stopped before it was done.
ExchangeOutcome StoppedOutcome(const ExchangeOutcome& exchanged, const std::string& printer) {
    ExchangeOutcome stopped;
    stopped.report = {exchanged.report.task, PrinterResult::Stopped, 0, printer};
    stopped.report.proceedSent = exchanged.report.proceedSent;
    return stopped;
}

ExchangeOutcome RunExchange(PrinterLink& link,
                            const std::function<ExchangeOutcome(PrinterLink&)>& exchange,
                            PrinterStop* stop) {
    if (!stop)
        return exchange(link);
    StoppableLink stoppable(link, *stop);
    return exchange(stoppable);
}

// One printer waits for nothing but its own end.
constexpr std::chrono::milliseconds kNoTick{1000};

} // namespace

bool RunPrinterOperation(const PrinterAddress& printer, PrinterOperator& op,
                         OutcomeHandler& handler,
                         const std::function<ExchangeOutcome(PrinterLink&)>& exchange,
                         ExchangeOutcome* result, PrinterStop* stop) {
    const std::string name = PrinterAddressText(printer);
    PlayedConnection* held = nullptr;
    bool opening = false;
    bool played = false;
    ExchangeOutcome outcome;
    // Connecting to a network printer can take the whole connect time-out:
    // the handler hears of it first (the wait cursor shows meanwhile).
    const bool connecting = printer.IsNetwork();
    const PortOpener open = [&](size_t) {
        opening = true;
        if (connecting)
            handler.PortOpened();
        OpenedPrinter opened = OpenPrinter(printer, stop);
        if (!opened.connection) {
            if (connecting)
                handler.ClosePort();
            op.Tell(opened.problem);
            return opened;
        }
        if (!connecting)
            handler.PortOpened();
        // A port that could not be set up is told; the exchange still runs
        // and fails on its own time-outs.
        if (opened.problem.result != PrinterResult::Done)
            op.Tell(opened.problem);
        auto wrapped = std::make_unique<PlayedConnection>(std::move(opened.connection));
        held = wrapped.get();
        opened.connection = std::move(wrapped);
        return opened;
    };
    const PortJob job = [&](PrinterLink& link, PortProgress&, const std::atomic<bool>&) {
        outcome = RunExchange(link, exchange, stop);
        // A failed exchange over a connection that broke is told as the
        // broken connection.
        if (!outcome.succeeded)
            NamePrinterInFailure(*held->Open(), name, outcome.report);
        if (!outcome.succeeded && stop && stop->Stopped())
            outcome = StoppedOutcome(outcome, name);
        ClosingHandler closing(*held, handler);
        PlayOutcome(outcome, closing, op);
        if (held->Open())
            closing.ClosePort();
        played = true;
        PortResult port;
        port.outcome = outcome.succeeded ? PortOutcome::Ok : PortOutcome::Failed;
        port.report = outcome.report;
        return port;
    };
    // The one engine that serves every printer job, here with one printer.
    ProvisionBoard board({name});
    const std::atomic<bool> never{false};
    RunOnPrinters(
        job, open, board, never, [] {}, kNoTick, 1);
    if (!opening) {
        // No thread to run it on: nothing was sent.
        op.Tell({PrinterTask::Port, PrinterResult::PortNotOpened, 0, name});
        return false;
    }
    if (!held)
        return false;
    if (!played) {
        // The job ended early (out of memory): the wait is over all the same.
        handler.ClosePort();
        return false;
    }
    if (result)
        *result = std::move(outcome);
    return true;
}
