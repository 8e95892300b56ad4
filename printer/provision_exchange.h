#pragma once
// Provisioning one printer over its link: with the clear option an all clear
// first (with the converge option a listing of what it holds instead), then
// each registration of the plan in order (the converge option skips those it
// holds as planned), then one listing that must show every planned ID with
// its size.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "printer/font_pt.h"
#include "printer/planned_listing.h"
#include "printer/printer_link.h"
#include "printer/printer_operator.h"
#include "printer/provision_plan.h"

enum class PortStep {
    Waiting,
    Opening,
    Clearing,
    Deleting, // one registered entry
    Surveying,
    Registering,
    Listing,
    Done
};

// Where one port shows its progress; called on that port's thread.
class PortProgress {
public:
    virtual ~PortProgress() = default;
    // registration: the plan index, for PortStep::Registering.
    virtual void StepStarted(PortStep step, size_t registration) = 0;
    // Character index (0-based) of count of that registration was acknowledged.
    virtual void CharacterSent(size_t registration, uint32_t count, uint32_t index) = 0;
};

struct ProvisionOptions {
    bool clear = false;
    bool overwrite = false; // the answer when a planned ID is registered already
    // List the printer first and send only the registrations its listing
    // does not show as planned.
    bool converge = false;
    // When set, the operator answers whether to overwrite a registered ID
    // instead of the option (on the port's thread).
    std::function<bool(PrinterQuestion)> askOverwrite;
};

enum class PortOutcome { Ok, Failed, Cancelled };

enum class PortFailure {
    None,
    Report,           // report: what the printer answered, or the port that cannot be opened
    OverwriteRefused, // the ID was registered and overwriting was not allowed
    ListingDiffers,   // difference: how the final listing differs from the plan
};

struct PortResult {
    PortOutcome outcome = PortOutcome::Failed;
    PortStep step = PortStep::Waiting; // the step it ended in, unless Ok
    size_t registration = 0;           // the plan index, when that step is Registering
    PortFailure failure = PortFailure::None;
    PrinterReport report;
    ListingDifference difference;
    // Plan indices the printer held as planned already (converge); not sent.
    std::vector<size_t> kept;
    // Ok: what the final listing showed.
    std::vector<CFontPT> listed;
    uint64_t memoryUse = 0;
    // Something was sent or deleted: a registration, a deletion (also when
    // the run failed afterwards).
    bool changed = false;
    // How the printer was reached: "COM3", "127.0.0.1:9100"; empty when it
    // could not be.
    std::string address;
};

// cancel: once set, nothing more is sent and no read waits; the result is
// then Cancelled unless the plan was done.
PortResult ProvisionPort(PrinterLink& link, const std::vector<PlannedRegistration>& plan,
                         const ProvisionOptions& options, PortProgress& progress,
                         const std::atomic<bool>& cancel);
