#include "tools/cli/single_download.h"

#include <atomic>
#include <chrono>
#include <optional>

#include "operations/printer_messages.h"
#include "operations/stopped_download.h"
#include "printer/printer_connection.h"
#include "printer/provision_run.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"
#include "tools/cli/console.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/port_summary.h"

namespace {

// As often as the progress bar redraws itself.
constexpr std::chrono::milliseconds kTickEvery{250};

// A listing shown as the window's list shows it.
class ListingShown : public OutcomeHandler {
public:
    explicit ListingShown(ConsoleFrontEnd& frontEnd) : m_frontEnd(frontEnd) {}
    void ApplyListing(const ListingUpdate& update, ExtentChange extent) override {
        m_panel.Take(update, extent, [](const std::string&) { return 0; });
        m_frontEnd.ShowRegisteredData(m_panel.data, 0);
    }
    void ClosePort() override {}

private:
    ConsoleFrontEnd& m_frontEnd;
    ListedPanel m_panel;
};

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
    // Ctrl+C stops the transfer at a character's end; the printer is then
    // listed and the ID's fate told, as the window's 中止 does.
    std::atomic<bool> interrupted{false};
    std::optional<InterruptFlag> interrupt(std::in_place, interrupted);
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
        plan, options, [&](size_t) { return OpenPrinter(printer); }, board, interrupted, drawBar,
        kTickEvery, 1);
    // A second Ctrl+C from here on ends the program at once.
    interrupt.reset();
    const PortResult result = board.Results().front();
    OperatorPrinterSide side(frontEnd);
    ListingShown shown(frontEnd);
    if (result.outcome == PortOutcome::Cancelled) {
        frontEnd.EndProgressLine();
        console::Err(L"glyphkit-cli: interrupted\n");
        TellStoppedDownload(printer, registration.line.id, std::nullopt, frontEnd, shown);
        return kInterruptedStatus;
    }
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
    shown.ApplyListing(listing, ExtentChange::Keep);
    side.Tell({PrinterTask::Download, PrinterResult::Done});
    return 0;
}
