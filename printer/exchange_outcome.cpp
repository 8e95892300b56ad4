#include "printer/exchange_outcome.h"

void PlayOutcome(const ExchangeOutcome& outcome, OutcomeHandler& handler, Operator& op) {
    for (OutcomeStep step : outcome.steps) {
        switch (step) {
        case OutcomeStep::UpdateListing:
            handler.ApplyListing(outcome.listing);
            break;
        case OutcomeStep::ClosePort:
            handler.ClosePort();
            break;
        case OutcomeStep::ShowMessage:
            if (outcome.messageId != 0)
                op.ShowMessage(outcome.messageId, outcome.kind);
            break;
        }
    }
}
