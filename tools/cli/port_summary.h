#pragma once
// What glyphkit-cli says on standard output of each printer at the end of a
// provisioning run: a summary line, or with --json one JSON object a line.
#include <string>
#include <vector>

#include "operations/port_report.h"
#include "printer/provision_board.h"

// "line 2 (ID 05, fonts\a.kfd)", or "ID 05 (a.kfd)" for a plan of the
// command line.
std::wstring RegistrationText(const PlannedRegistration& registration);

// How a printer's listing differs from the planned registration.
std::wstring DifferenceText(const ListingDifference& difference);

class PortSummary {
public:
    explicit PortSummary(const std::vector<PlannedRegistration>& plan) : m_plan(plan) {}

    // One line per printer, in the board's order: ok with what the printer
    // holds, or why not.
    std::wstring Lines(const std::vector<PortView>& ports,
                       const std::vector<PortResult>& results) const;
    // The same as JSON objects: printer, status, step (with id when it ended
    // registering), message, stored, kept, memory.
    std::wstring JsonLines(const std::vector<PortView>& ports,
                           const std::vector<PortResult>& results) const;

private:
    std::wstring Line(const PortView& port, const PortResult& result) const;
    std::wstring JsonLine(const PortView& port, const PortResult& result) const;
    // " at line 3 (ID 01, a.kfd)": where a printer that did not succeed ended.
    std::wstring Where(const PortResult& result) const;
    // Why it failed, as the operator reads it; empty when there is nothing to say.
    std::wstring Why(const PortResult& result) const;

    const std::vector<PlannedRegistration>& m_plan;
};
