#include "printer/exchange_outcome.h"

void PlayOutcome(const ExchangeOutcome& outcome, OutcomeHandler& handler, PrinterOperator& op) {
    for (OutcomeStep step : outcome.steps) {
        switch (step) {
        case OutcomeStep::UpdateListing:
            handler.ApplyListing(outcome.listing);
            break;
        case OutcomeStep::ClosePort:
            handler.ClosePort();
            break;
        case OutcomeStep::ShowMessage:
            op.Tell(outcome.report);
            break;
        }
    }
}
