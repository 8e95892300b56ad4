#include "printer/provision_exchange.h"

#include <algorithm>

#include "printer/delete_exchange.h"
#include "printer/download_exchange.h"
#include "printer/listing_exchange.h"

namespace {

// After cancellation the exchange in progress runs on to its end, but finds
// the line dead: nothing more reaches the printer and every read fails at
// once, so the port is free within one read's time-out.
class CancellableLink : public PrinterLink {
public:
    CancellableLink(PrinterLink& inner, const std::atomic<bool>& cancel)
        : m_inner(inner), m_cancel(cancel) {}
    bool WriteBlock(const uint8_t* data, size_t count) override {
        return !m_cancel && m_inner.WriteBlock(data, count);
    }
    bool WriteByte(uint8_t value) override { return !m_cancel && m_inner.WriteByte(value); }
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) override {
        return !m_cancel && m_inner.ReadBlock(buffer, count, constantMs);
    }

private:
    PrinterLink& m_inner;
    const std::atomic<bool>& m_cancel;
};

// The plan's options answer the exchanges' questions: the clear option is the
// yes to the all clear, the overwrite option the answer for a registered ID.
class PlanAnswers : public PrinterOperator {
public:
    explicit PlanAnswers(const ProvisionOptions& options) : m_options(options) {}
    void Tell(const PrinterReport&) override {}
    bool Ask(PrinterQuestion question) override {
        switch (question) {
        case PrinterQuestion::ClearAll:
            return m_options.clear;
        case PrinterQuestion::Overwrite:
            return m_options.askOverwrite ? m_options.askOverwrite(question) : m_options.overwrite;
        case PrinterQuestion::DeleteEntry:
            break;
        }
        return false;
    }

private:
    const ProvisionOptions& m_options;
};

class RegistrationProgress : public DownloadProgress {
public:
    RegistrationProgress(PortProgress& progress, size_t registration)
        : m_progress(progress), m_registration(registration) {}
    void TransferStarting() override { m_bStarted = true; }
    bool Started() const { return m_bStarted; }
    void CharacterSent(uint32_t count, uint32_t index) override {
        m_progress.CharacterSent(m_registration, count, index);
    }

private:
    PortProgress& m_progress;
    size_t m_registration;
    bool m_bStarted = false;
};

PortResult Ended(PortStep step, size_t registration, const std::atomic<bool>& cancel,
                 PortFailure failure, const PrinterReport& report = {}) {
    PortResult result;
    result.outcome = cancel ? PortOutcome::Cancelled : PortOutcome::Failed;
    result.step = step;
    result.registration = registration;
    result.failure = cancel ? PortFailure::None : failure;
    if (!cancel)
        result.report = report;
    return result;
}

} // namespace

PortResult ProvisionPort(PrinterLink& printer, const std::vector<PlannedRegistration>& plan,
                         const ProvisionOptions& options, PortProgress& progress,
                         const std::atomic<bool>& cancel) {
    CancellableLink link(printer, cancel);
    PlanAnswers answers(options);
    bool changed = false;
    // Every way out says whether the printer was changed on the way.
    const auto ended = [&](PortResult result) {
        result.changed = changed;
        return result;
    };

    if (options.clear) {
        progress.StepStarted(PortStep::Clearing, 0);
        const ExchangeOutcome cleared = ClearAllRegisteredData(link, answers);
        // "Nothing to delete" leaves the printer as empty as a deletion would.
        if (cancel ||
            (!cleared.succeeded && cleared.report.result != PrinterResult::NothingRegistered))
            return ended(Ended(PortStep::Clearing, 0, cancel, PortFailure::Report, cleared.report));
        changed = cleared.succeeded;
    }

    // What the printer holds before anything is sent: a registration it
    // shows exactly as planned is kept, so a run after a partial failure
    // sends only what is missing or different.
    ExchangeOutcome held;
    std::vector<size_t> kept;
    if (options.converge) {
        progress.StepStarted(PortStep::Surveying, 0);
        held = QueryRegisteredData(link);
        if (!held.succeeded || cancel)
            return ended(Ended(PortStep::Surveying, 0, cancel, PortFailure::Report, held.report));
        for (size_t k = 0; k < plan.size(); ++k)
            if (CompareWithListing(plan[k], held.listing.records).what == ListingMismatch::None)
                kept.push_back(k);
    }

    size_t sentCount = 0;
    for (size_t k = 0; k < plan.size(); ++k) {
        if (std::find(kept.begin(), kept.end(), k) != kept.end())
            continue;
        if (cancel)
            return ended(Ended(PortStep::Registering, k, cancel, PortFailure::None));
        progress.StepStarted(PortStep::Registering, k);
        RegistrationProgress characters(progress, k);
        const PlannedRegistration& registration = plan[k];
        const ExchangeOutcome sent =
            TransferRegistration(link, registration.record, registration.glyphs.data(),
                                 registration.glyphs.size(), answers, characters);
        // Proceed went out once the printer took the header: from then on
        // its memory may hold something new, whatever follows.
        changed = changed || sent.succeeded || characters.Started();
        if (sent.report.result == PrinterResult::Declined)
            return ended(Ended(PortStep::Registering, k, cancel, PortFailure::OverwriteRefused));
        if (!sent.succeeded || cancel)
            return ended(Ended(PortStep::Registering, k, cancel, PortFailure::Report, sent.report));
        ++sentCount;
    }

    if (cancel)
        return ended(Ended(PortStep::Listing, 0, cancel, PortFailure::None));
    // Nothing sent: the listing just read is the printer as it stays.
    ExchangeOutcome listing;
    if (options.converge && sentCount == 0) {
        listing = std::move(held);
    } else {
        progress.StepStarted(PortStep::Listing, 0);
        listing = QueryRegisteredData(link);
        if (!listing.succeeded || cancel)
            return ended(Ended(PortStep::Listing, 0, cancel, PortFailure::Report, listing.report));
    }

    // A printer that took every character may still have stored something
    // else (or nothing): only its own listing tells.
    for (const PlannedRegistration& registration : plan) {
        ListingDifference difference = CompareWithListing(registration, listing.listing.records);
        if (difference.what != ListingMismatch::None) {
            PortResult result = Ended(PortStep::Listing, 0, cancel, PortFailure::ListingDiffers);
            result.difference = std::move(difference);
            return ended(std::move(result));
        }
    }
    PortResult result;
    result.outcome = PortOutcome::Ok;
    result.step = PortStep::Done;
    result.changed = changed;
    result.kept = std::move(kept);
    result.listed = std::move(listing.listing.records);
    result.memoryUse = listing.listing.memoryUse;
    return result;
}
