#pragma once
// What glyphkit-cli shows of a provisioning run while it runs: one progress
// line per port on standard error, drawn over in place on a console and
// written as plain lines otherwise.
#include <string>
#include <vector>

#include "printer/provision_board.h"

class ProvisionDisplay {
public:
    explicit ProvisionDisplay(const std::vector<PlannedRegistration>& plan);

    // The ports as they are now; called a few times a second.
    void Show(const std::vector<PortView>& ports);

private:
    std::wstring ProgressLine(const PortView& port) const;
    void Redraw(const std::vector<std::wstring>& lines);
    void WritePlain(const std::vector<PortView>& ports, const std::vector<std::wstring>& lines);

    const std::vector<PlannedRegistration>& m_plan;
    bool m_bConsole;
    std::vector<std::wstring> m_drawn; // console: the lines on screen
    std::vector<int> m_milestones;     // plain: what each port's last line showed
};
