// Which failures of an exchange name their printer, and how a broken
// connection is told.
#include "printer/printer_connection.h"

void NamePrinterInFailure(const PrinterConnection& connection, const std::string& printer,
                          PrinterReport& report) {
    if (connection.Lost()) {
        report.result = PrinterResult::NetworkConnectionLost;
        report.printer = printer;
        return;
    }
    switch (report.result) {
    case PrinterResult::NotPrinterAnswer:
        report.printer = printer;
        break;
    case PrinterResult::NoAnswer:
    case PrinterResult::ListingDamaged:
    case PrinterResult::CharacterNotAcknowledged:
        if (connection.OnNetwork())
            report.printer = printer;
        break;
    default:
        break;
    }
}
