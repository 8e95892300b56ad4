#include "tools/cli/single_download.h"

#include <atomic>
#include <chrono>

#include "operations/printer_messages.h"
#include "printer/printer_connection.h"
#include "printer/provision_run.h"
#include "printer/registered_data.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"
#include "tools/cli/console.h"
#include "tools/cli/port_summary.h"

namespace {

// As often as the progress bar redraws itself.
constexpr std::chrono::milliseconds kTickEvery{250};

} // namespace

int DownloadToOnePrinter(const PlannedRegistration& registration, const PrinterAddress& printer,
                         ConsoleFrontEnd& frontEnd) {
    const std::vector<PlannedRegistration> plan{registration};
    ProvisionOptions options;
    // The printer says only that the ID is taken: the question names the ID.
    options.askOverwrite = [&](PrinterQuestion) {
        return frontEnd.AskYesNoAbout(IDS_ASK_OVERWRITE, RegistrationIdText(registration.line.id));
    };
    ProvisionBoard board({PrinterAddressText(printer)});
    // Ctrl+C ends the program here, as it always has for one printer.
    const std::atomic<bool> never{false};
    const auto drawBar = [&] {
        const PortView view = board.Snapshot().front();
        const uint32_t count = registration.record.m_dwCharCount;
        // Past the characters (the listing, the end) every one was taken.
        if (view.step == PortStep::Registering && view.count > 0 && view.sent > 0)
            frontEnd.CharacterSent(view.count, view.sent - 1);
        else if ((view.step == PortStep::Listing || view.outcome == PortOutcome::Ok) && count > 0)
            frontEnd.CharacterSent(count, count - 1);
    };
    ProvisionPorts(
        plan, options, [&](size_t) { return OpenPrinter(printer); }, board, never, drawBar,
        kTickEvery, 1);
    const PortResult result = board.Results().front();
    OperatorPrinterSide side(frontEnd);
    switch (result.failure) {
    case PortFailure::None:
        break;
    case PortFailure::Report:
        side.Tell(result.report);
        return 1;
    case PortFailure::OverwriteRefused: // the answer said so
        return 1;
    case PortFailure::ListingDiffers:
        // It took every character, but its listing shows something else.
        frontEnd.ShowMessage(IDS_DOWNLOAD_FAILED, MessageKind::Warning, MessageCaption::Result);
        console::Err(L"glyphkit-cli: " + DifferenceText(result.difference) + L"\n");
        return 1;
    }
    if (result.outcome != PortOutcome::Ok)
        return 1;
    // What the printer holds now, then the message, as the window shows them.
    ListingUpdate listing;
    listing.list = ListChange::Fill;
    listing.memory = MemoryChange::Usage;
    listing.memoryUse = result.memoryUse;
    listing.records = result.listed;
    RegisteredData data;
    data.Apply(listing);
    frontEnd.ShowRegisteredData(data, 0);
    side.Tell({PrinterTask::Download, PrinterResult::Done});
    return 0;
}
