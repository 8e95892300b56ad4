#include "form/printer_messages.h"

#include "res/resource_ids.h"

namespace {

PrinterMessage Warning(unsigned id) {
    return {id, MessageKind::Warning, MessageCaption::Result};
}

PrinterMessage Plain(unsigned id) {
    return {id, MessageKind::Plain, MessageCaption::Result};
}

PrinterMessage Information(unsigned id) {
    return {id, MessageKind::Information, MessageCaption::Result};
}

} // namespace

std::optional<PrinterMessage> PrinterMessageFor(const PrinterReport& report) {
    using R = PrinterResult;
    // The port's own troubles read the same whatever the operation; a port
    // that cannot be set up names the application, since the failure is the
    // system's, not the printer's.
    switch (report.result) {
    case R::PortNotOpened:
        return Warning(IDS_COM_OPEN_FAILED);
    case R::PortStateUnreadable:
        return PrinterMessage{IDS_COM_STATE_FAILED, MessageKind::Warning,
                              MessageCaption::Application};
    case R::PortSettingsRefused:
        return PrinterMessage{IDS_COM_SETUP_FAILED, MessageKind::Warning,
                              MessageCaption::Application};
    case R::Declined:
        return std::nullopt;
    default:
        break;
    }
    const bool done = report.result == R::Done;
    const bool nothing = report.result == R::NothingRegistered;
    switch (report.task) {
    case PrinterTask::Query:
        return done      ? Plain(IDS_QUERY_DONE)
               : nothing ? Plain(IDS_QUERY_DONE_EMPTY)
                         : Warning(IDS_QUERY_FAILED);
    case PrinterTask::DeleteEntry:
        // One entry: "nothing to delete" warns, success is a plain box.
        return done      ? Plain(IDS_DELETE_DONE)
               : nothing ? Warning(IDS_DELETE_NOTHING)
                         : Warning(IDS_DELETE_FAILED);
    case PrinterTask::ClearAll:
        return done      ? Information(IDS_DELETE_DONE)
               : nothing ? Information(IDS_DELETE_NOTHING)
                         : Warning(IDS_DELETE_FAILED);
    case PrinterTask::Download:
        return done                               ? Plain(IDS_DOWNLOAD_DONE)
               : report.result == R::AreaUnusable ? Warning(IDS_AREA_NG)
                                                  : Warning(IDS_DOWNLOAD_FAILED);
    case PrinterTask::Refresh:
    case PrinterTask::Port:
        break;
    }
    return std::nullopt;
}

unsigned PrinterQuestionId(PrinterQuestion question) {
    switch (question) {
    case PrinterQuestion::Overwrite:
        return IDS_ASK_OVERWRITE;
    case PrinterQuestion::DeleteEntry:
        return IDS_ASK_DELETE;
    case PrinterQuestion::ClearAll:
        break;
    }
    return IDS_ASK_DELETE_ALL;
}

bool OperatorPrinterSide::Ask(PrinterQuestion question) {
    if (question == PrinterQuestion::Overwrite)
        return m_operator.AskYesNoAbout(PrinterQuestionId(question), m_overwriteLine);
    return m_operator.AskYesNo(PrinterQuestionId(question));
}

void OperatorPrinterSide::Tell(const PrinterReport& report) {
    if (const std::optional<PrinterMessage> message = PrinterMessageFor(report))
        m_operator.ShowMessage(message->id, message->kind, message->caption);
}
