#include "operations/printer_messages.h"

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

const std::pair<PrinterResult, unsigned> kNetworkMessages[] = {
    {PrinterResult::NetworkInUse, IDS_NET_IN_USE},
    {PrinterResult::NetworkRefused, IDS_NET_REFUSED},
    {PrinterResult::NetworkNoAnswer, IDS_NET_NO_ANSWER},
    {PrinterResult::NetworkNameNotFound, IDS_NET_NAME_NOT_FOUND},
    {PrinterResult::NetworkConnectionLost, IDS_NET_CONNECTION_LOST},
};

// What an operation shows when it was done, when the printer held nothing,
// and when it failed.
struct TaskMessages {
    PrinterMessage done;
    PrinterMessage nothing;
    PrinterMessage failed;
};

// One entry: "nothing to delete" warns and success is a plain box; all
// entries: both inform.
const TaskMessages kQuery{Plain(IDS_QUERY_DONE), Plain(IDS_QUERY_DONE_EMPTY),
                          Warning(IDS_QUERY_FAILED)};
const TaskMessages kDeleteEntry{Plain(IDS_DELETE_DONE), Warning(IDS_DELETE_NOTHING),
                                Warning(IDS_DELETE_FAILED)};
const TaskMessages kClearAll{Information(IDS_DELETE_DONE), Information(IDS_DELETE_NOTHING),
                             Warning(IDS_DELETE_FAILED)};
const TaskMessages kDownload{Plain(IDS_DOWNLOAD_DONE), Warning(IDS_DOWNLOAD_FAILED),
                             Warning(IDS_DOWNLOAD_FAILED)};

const TaskMessages* MessagesOf(PrinterTask task) {
    switch (task) {
    case PrinterTask::Query:
        return &kQuery;
    case PrinterTask::DeleteEntry:
        return &kDeleteEntry;
    case PrinterTask::ClearAll:
        return &kClearAll;
    case PrinterTask::Download:
        return &kDownload;
    case PrinterTask::Refresh: // silent
    case PrinterTask::Port:
        break;
    }
    return nullptr;
}

// The second line of a failure that names its printer: an answer that is no
// printer's on any line, silence or a wrong acknowledgement on the network.
unsigned DetailOf(const PrinterReport& report) {
    if (report.printer.empty())
        return 0;
    switch (report.result) {
    case PrinterResult::NotPrinterAnswer:
        return IDS_DETAIL_NOT_PRINTER;
    case PrinterResult::NoAnswer:
    case PrinterResult::ListingDamaged:
        return IDS_DETAIL_NO_ANSWER;
    case PrinterResult::CharacterNotAcknowledged:
        return report.replyMissing ? IDS_DETAIL_NO_ACK : IDS_DETAIL_WRONG_ACK;
    default:
        return 0;
    }
}

std::optional<PrinterMessage> MessageOfTask(const PrinterReport& report) {
    const TaskMessages* messages = MessagesOf(report.task);
    if (!messages)
        return std::nullopt;
    if (report.result == PrinterResult::Done)
        return messages->done;
    if (report.result == PrinterResult::NothingRegistered)
        return messages->nothing;
    PrinterMessage failed = messages->failed;
    failed.detail = DetailOf(report);
    return failed;
}

} // namespace

std::optional<PrinterMessage> PrinterMessageFor(const PrinterReport& report) {
    // A network printer's troubles name its address.
    for (const auto& [result, id] : kNetworkMessages)
        if (report.result == result)
            return PrinterMessage{id, MessageKind::Warning, MessageCaption::Result, true};
    // The port's own troubles read the same whatever the operation; one that
    // cannot be set up names the application, since the fault is the
    // system's, not the printer's.
    switch (report.result) {
    case PrinterResult::PortNotOpened: {
        // The port and the reason, where the opening gave them.
        PrinterMessage message = Warning(IDS_COM_OPEN_FAILED);
        if (!report.printer.empty())
            message.detail = IDS_DETAIL_PORT_NOT_OPENED;
        return message;
    }
    case PrinterResult::PortStateUnreadable:
        return PrinterMessage{IDS_COM_STATE_FAILED, MessageKind::Warning,
                              MessageCaption::Application};
    case PrinterResult::PortSettingsRefused:
        return PrinterMessage{IDS_COM_SETUP_FAILED, MessageKind::Warning,
                              MessageCaption::Application};
    case PrinterResult::AreaUnusable:
        return Warning(IDS_AREA_NG);
    case PrinterResult::Declined:
        return std::nullopt;
    case PrinterResult::Stopped:
        // A deletion stopped is one the printer never confirmed: it was
        // not asked for, or it was and its answer is not known.
        if (report.task != PrinterTask::DeleteEntry && report.task != PrinterTask::ClearAll)
            return Warning(IDS_PRINTER_STOPPED);
        return Warning(report.proceedSent ? IDS_DELETE_STOPPED_UNKNOWN : IDS_DELETE_STOPPED);
    default:
        break;
    }
    return MessageOfTask(report);
}

std::vector<std::string> DetailValues(const PrinterReport& report) {
    if (report.result == PrinterResult::PortNotOpened)
        return {report.printer, report.reason};
    return {report.printer, std::to_string(report.character + 1)};
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
    const std::optional<PrinterMessage> message = PrinterMessageFor(report);
    if (!message)
        return;
    if (message->namesPrinter)
        m_operator.ShowMessageAbout(message->id, report.printer);
    else if (message->detail)
        m_operator.ShowMessageWithDetail(message->id, message->kind, message->caption,
                                         message->detail, DetailValues(report));
    else if (report.result == PrinterResult::AreaUnusable && m_area)
        // What the registration needs against what is free, and where to
        // find the largest size that fits.
        m_operator.ShowMessageWithDetail(
            message->id, message->kind, message->caption,
            m_area->free ? IDS_DETAIL_AREA_FREE : IDS_DETAIL_AREA,
            {std::to_string(m_area->needed), std::to_string(m_area->free.value_or(0))});
    else
        m_operator.ShowMessage(message->id, message->kind, message->caption);
}
