#pragma once
// The string table's side of the printer operations: the message each report
// shows, the text of each question, and the printer operator that speaks
// through a front end's operator with them. The main form and the console
// tool both speak through it.
#include <optional>
#include <string>
#include <utility>

#include "framework/operator.h"
#include "printer/printer_operator.h"

struct PrinterMessage {
    unsigned id = 0; // string-table ID
    MessageKind kind = MessageKind::Warning;
    MessageCaption caption = MessageCaption::Result;
    bool namesPrinter = false; // a warning whose %1 is the printer's address
    // A second line naming the printer (%1) and what happened (%2: the
    // character, counted from 1); 0 for none.
    unsigned detail = 0;
};

// What the operator is shown of report; nothing where the operation ends
// without a message.
std::optional<PrinterMessage> PrinterMessageFor(const PrinterReport& report);

// The string-table ID of the question.
unsigned PrinterQuestionId(PrinterQuestion question);

// Tells and asks through op; the overwrite question carries overwriteLine
// (the ID and what holds it) below it.
class OperatorPrinterSide : public PrinterOperator {
public:
    explicit OperatorPrinterSide(Operator& op, std::string overwriteLine = "")
        : m_operator(op), m_overwriteLine(std::move(overwriteLine)) {}

    bool Ask(PrinterQuestion question) override;
    void Tell(const PrinterReport& report) override;

private:
    Operator& m_operator;
    std::string m_overwriteLine;
};
