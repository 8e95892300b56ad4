#pragma once
// What glyphkit-cli shows of a provisioning run: one progress line per port
// on standard error, drawn over in place on a console and written as plain
// lines otherwise, then one summary line per port on standard output.
#include <string>
#include <vector>

#include "printer/provision_board.h"

class ProvisionDisplay {
public:
    explicit ProvisionDisplay(const std::vector<PlannedRegistration>& plan);

    // The ports as they are now; called a few times a second.
    void Show(const std::vector<PortView>& ports);
    // One line per port: ok with what the printer holds, or why not.
    void Summarize(const std::vector<PortView>& ports, const std::vector<PortResult>& results);

    // "line 2 (ID 05, fonts\a.kfd)", or "ID 05 (a.kfd)" for a plan of the
    // command line.
    std::wstring Registration(size_t index) const;

private:
    std::wstring ProgressLine(const PortView& port) const;
    std::wstring SummaryLine(const PortView& port, const PortResult& result) const;
    void Redraw(const std::vector<std::wstring>& lines);
    void WritePlain(const std::vector<PortView>& ports, const std::vector<std::wstring>& lines);

    const std::vector<PlannedRegistration>& m_plan;
    bool m_bConsole;
    std::vector<std::wstring> m_drawn; // console: the lines on screen
    std::vector<int> m_milestones;     // plain: what each port's last line showed
};
