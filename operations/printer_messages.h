#pragma once
// The string table's side of the printer operations: the message each report
// shows, the text of each question, and the printer operator that speaks
// through a front end's operator with them. The main form and the console
// tool both speak through it.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/operator.h"
#include "printer/printer_operator.h"

struct PrinterMessage {
    unsigned id = 0; // string-table ID
    MessageKind kind = MessageKind::Warning;
    MessageCaption caption = MessageCaption::Result;
    bool namesPrinter = false; // a warning whose %1 is the printer's address
    // A second line naming the printer (%1) and what happened (%2: the
    // character, counted from 1, or why the port did not open); 0 for none.
    unsigned detail = 0;
};

// What the operator is shown of report; nothing where the operation ends
// without a message.
std::optional<PrinterMessage> PrinterMessageFor(const PrinterReport& report);
// The values of its second line: the printer, then the character or the
// reason.
std::vector<std::string> DetailValues(const PrinterReport& report);

// What a download refused for its area is told with: the bytes the
// registration takes of the printer's memory and, after a listing, the
// bytes free for it there.
struct AreaFigures {
    uint64_t needed = 0;
    std::optional<uint64_t> free;
};

// The string-table ID of the question.
unsigned PrinterQuestionId(PrinterQuestion question);

// Tells and asks through op; the overwrite question carries overwriteLine
// (the ID and what holds it) below it, a refused area the figures of area.
class OperatorPrinterSide : public PrinterOperator {
public:
    explicit OperatorPrinterSide(Operator& op, std::string overwriteLine = "",
                                 std::optional<AreaFigures> area = std::nullopt)
        : m_operator(op), m_overwriteLine(std::move(overwriteLine)), m_area(area) {}

    bool Ask(PrinterQuestion question) override;
    void Tell(const PrinterReport& report) override;

private:
    Operator& m_operator;
    std::string m_overwriteLine;
    std::optional<AreaFigures> m_area;
};
