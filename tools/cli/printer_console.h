#pragma once
// What the printer commands of glyphkit-cli share: the port option, the
// operator's answers, and printing an exchange's outcome.
#include <optional>
#include <string>

#include "printer/exchange_outcome.h"
#include "printer/registered_data.h"
#include "tools/cli/cli_args.h"

constexpr int kDefaultComPort = 1;

// The options every printer command reads: --port N (1 to 255, 1 when
// absent) and, for a command that asks the operator, its yes|no answer.
struct PrinterOptions {
    int port = kDefaultComPort;
    std::optional<bool> answer; // nothing when not given
    std::wstring error;         // a usage error's text; empty when all are good
};
// answerName: the yes|no option's name without "--", empty for none.
PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName = L"");

// The operator's answer to a question: asked on the console when standard
// input is one, otherwise given (no when not given).
bool AskOperator(unsigned questionId, std::optional<bool> given);

// Plays an outcome on the console in the order the form would show it:
// listing updates print the list lines and the memory usage line, messages
// print their text (failures to standard error).
class ConsoleOutcome : public OutcomeHandler {
public:
    void ApplyListing(const ListingUpdate& update) override;
    void ClosePort() override {}
    void ShowMessage(unsigned id, BoxKind box) override;

    RegisteredData m_panel;
    bool m_bFailureShown = false;
};

// 0 for success, 1 for failure or a declined question.
int ExitStatus(bool portOpened, const ExchangeOutcome& outcome);
