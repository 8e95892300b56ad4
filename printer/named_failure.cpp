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
    // On a COM port as on the network: which printer, and what it did.
    case PrinterResult::NotPrinterAnswer:
    case PrinterResult::NoAnswer:
    case PrinterResult::ListingDamaged:
    case PrinterResult::CharacterNotAcknowledged:
        report.printer = printer;
        break;
    default:
        break;
    }
}
