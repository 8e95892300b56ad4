#include "operations/stopped_download.h"

#include "operations/printer_messages.h"
#include "operations/printer_operation.h"
#include "printer/listing_exchange.h"
#include "printer/registered_data.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"

StoppedId FateOfStoppedId(int id, const std::vector<CFontPT>& records,
                          const std::optional<CFontPT>& before) {
    for (const CFontPT& record : records) {
        if (record.m_nId != id)
            continue;
        // What the printer kept is told as the entry listed before only when
        // the listing shows that entry as it was: the same information block
        // and the same characters.
        const bool kept = before && before->m_infoBlock == record.m_infoBlock &&
                          before->m_charEntries == record.m_charEntries;
        return {kept ? StoppedIdFate::Kept : StoppedIdFate::Listed, FormatListLine(record)};
    }
    return {StoppedIdFate::Absent, ""};
}

unsigned StoppedIdDetail(const StoppedId& id, int registrationId,
                         std::vector<std::string>* values) {
    *values = {RegistrationIdText(registrationId), id.line};
    switch (id.fate) {
    case StoppedIdFate::Absent:
        return IDS_STOPPED_ID_ABSENT;
    case StoppedIdFate::Kept:
        return IDS_STOPPED_ID_KEPT;
    case StoppedIdFate::Listed:
        return IDS_STOPPED_ID_LISTED;
    case StoppedIdFate::Unknown:
        break;
    }
    return IDS_STOPPED_ID_UNKNOWN;
}

void DownloadPrinterSide::Tell(const PrinterReport& report) {
    if (report.task == PrinterTask::Download && report.result == PrinterResult::Stopped) {
        m_bStopped = true;
        return;
    }
    OperatorPrinterSide::Tell(report);
}

void TellStoppedDownload(const PrinterAddress& printer, int id,
                         const std::optional<CFontPT>& before, Operator& op,
                         OutcomeHandler& handler) {
    // The listing that follows a download: silent when it goes well, its
    // failure told as any listing's.
    OperatorPrinterSide side(op);
    ExchangeOutcome listed;
    const bool opened = RunPrinterOperation(printer, side, handler, RefreshRegisteredData, &listed);
    StoppedId fate;
    if (opened && listed.succeeded)
        fate = FateOfStoppedId(id, listed.listing.records, before);
    std::vector<std::string> values;
    const unsigned detail = StoppedIdDetail(fate, id, &values);
    op.ShowMessageWithDetail(IDS_DOWNLOAD_STOPPED, MessageKind::Warning, MessageCaption::Result,
                             detail, values);
}
