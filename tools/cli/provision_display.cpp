#include "tools/cli/provision_display.h"

#include <windows.h>

#include "framework/code_page_text.h"
#include "printer/text_formats.h"
#include "tools/cli/console.h"
#include "tools/cli/port_summary.h"

namespace {

// The printer as the operator named it, a column at least as wide as COM10
// to COM20.
std::wstring PortColumn(const std::string& printer) {
    std::wstring name = FromCodePage(printer, CP_UTF8);
    if (name.size() < 5)
        name.resize(5, L' ');
    return name;
}

unsigned Percent(const PortView& port) {
    return port.count == 0 ? 0 : unsigned(uint64_t(port.sent) * 100 / port.count);
}

// Plain lines follow a port's steps and each quarter of a registration, so a
// log holds a handful of lines per registration, not one per redraw.
int Milestone(const PortView& port) {
    // The end is a milestone of its own: a port that ends in the step it was
    // last shown in still gets its last line.
    const int quarter = port.finished ? 5 : int(Percent(port) / 25);
    return int(port.step) * 100000 + int(port.registration) * 10 + quarter;
}

// A COM port is named as COM1 to COM20, a network printer by its address
// and port.
const wchar_t* Opening(const PortView& port) {
    return port.printer.find(':') == std::string::npos ? L"opening the port" : L"connecting";
}

} // namespace

ProvisionDisplay::ProvisionDisplay(const std::vector<PlannedRegistration>& plan)
    : m_plan(plan), m_bConsole(console::ErrIsConsole()) {}

std::wstring ProvisionDisplay::ProgressLine(const PortView& port) const {
    std::wstring text = PortColumn(port.printer) + L" ";
    if (port.finished) {
        // Where it failed: a printer that cannot be reached fails while
        // connecting, before any step of its own.
        if (port.outcome == PortOutcome::Failed && port.step == PortStep::Opening)
            return text + L"failed while " + Opening(port);
        return text + (port.outcome == PortOutcome::Ok       ? L"done"
                       : port.outcome == PortOutcome::Failed ? L"failed"
                                                             : L"cancelled");
    }
    switch (port.step) {
    case PortStep::Waiting:
        return text + L"waiting";
    case PortStep::Opening:
        return text + Opening(port);
    case PortStep::Clearing:
        return text + L"all clear";
    case PortStep::Deleting:
        return text + L"deleting";
    case PortStep::Surveying:
        return text + L"listing what it holds";
    case PortStep::Registering:
        return text + std::to_wstring(port.registration + 1) + L"/" +
               std::to_wstring(m_plan.size()) + L" " +
               RegistrationText(m_plan.at(port.registration)) + L" " +
               std::to_wstring(Percent(port)) + L"%";
    case PortStep::Listing:
        return text + L"listing";
    case PortStep::Done:
        break;
    }
    return text + L"done";
}

void ProvisionDisplay::Show(const std::vector<PortView>& ports) {
    std::vector<std::wstring> lines;
    for (const PortView& port : ports)
        lines.push_back(ProgressLine(port));
    if (m_bConsole)
        Redraw(lines);
    else
        WritePlain(ports, lines);
}

void ProvisionDisplay::Redraw(const std::vector<std::wstring>& lines) {
    // Each line keeps to one row of the console, short of its last column
    // (a character there moves the cursor on by itself): a line that wrapped
    // would take two rows, and the lines drawn next would land one row too
    // low, a little further down at each redraw.
    const int columns = console::ErrColumns();
    std::vector<std::wstring> fitted;
    for (const std::wstring& line : lines)
        fitted.push_back(columns > 1 ? console::FitColumns(line, columns - 1) : line);
    if (fitted == m_drawn)
        return;
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    // Back to the first of the lines drawn before (the cursor sits below
    // them), each drawn anew and blanked to the width it had.
    if (!m_drawn.empty() && GetConsoleScreenBufferInfo(err, &info) &&
        info.dwCursorPosition.Y >= SHORT(m_drawn.size())) {
        COORD top{0, SHORT(info.dwCursorPosition.Y - SHORT(m_drawn.size()))};
        SetConsoleCursorPosition(err, top);
    } else if (!m_drawn.empty()) {
        m_drawn.clear(); // cannot go back: draw below
    }
    std::wstring text;
    for (size_t i = 0; i < fitted.size(); ++i) {
        std::wstring line = fitted[i];
        const int blank = i < m_drawn.size() ? console::ColumnsOf(m_drawn[i]) : 0;
        if (blank > console::ColumnsOf(line))
            line.append(size_t(blank - console::ColumnsOf(line)), L' ');
        text += line + L"\n";
    }
    console::Err(text);
    m_drawn = fitted;
}

void ProvisionDisplay::WritePlain(const std::vector<PortView>& ports,
                                  const std::vector<std::wstring>& lines) {
    m_milestones.resize(ports.size(), -1);
    std::wstring text;
    for (size_t i = 0; i < ports.size(); ++i) {
        // A port's success shows in its summary line; a failure also here,
        // with the step it ended in, which may have come and gone between two
        // redraws (a connection refused at once).
        const bool succeeded = ports[i].finished && ports[i].outcome == PortOutcome::Ok;
        if (succeeded || Milestone(ports[i]) == m_milestones[i])
            continue;
        m_milestones[i] = Milestone(ports[i]);
        text += lines[i] + L"\n";
    }
    if (!text.empty())
        console::Err(text);
}
