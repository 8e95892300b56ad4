#include "operations/port_report.h"

#include <algorithm>
#include <optional>

#include "framework/message_text.h"
#include "operations/printer_messages.h"

const wchar_t* StepName(PortStep step) {
    switch (step) {
    case PortStep::Waiting:
        return L"waiting";
    case PortStep::Opening:
        return L"opening";
    case PortStep::Clearing:
        return L"clearing";
    case PortStep::Deleting:
        return L"deleting";
    case PortStep::Surveying:
        return L"first_listing";
    case PortStep::Registering:
        return L"registering";
    case PortStep::Listing:
        return L"listing";
    case PortStep::Done:
        break;
    }
    return L"done";
}

std::wstring ReportText(const PrinterReport& report) {
    const std::optional<PrinterMessage> message = PrinterMessageFor(report);
    if (!message)
        return L"";
    std::wstring text =
        message->namesPrinter ? DetailText(message->id, {report.printer}) : LoadText(message->id);
    if (message->detail)
        text += L" " + DetailText(message->detail, DetailValues(report));
    // A message box's second line joins the first: each printer keeps to one
    // line.
    std::replace(text.begin(), text.end(), L'\n', L' ');
    return text;
}
