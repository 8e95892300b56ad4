#include "tools/cli/provision_display.h"

#include <windows.h>

#include "form/printer_messages.h"
#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "printer/text_formats.h"
#include "tools/cli/console.h"

namespace {

// The printer as the operator named it, a column at least as wide as COM10
// to COM20.
std::wstring PortColumn(const std::string& printer) {
    std::wstring name = FromCodePage(printer, CP_UTF8);
    if (name.size() < 5)
        name.resize(5, L' ');
    return name;
}

// "ID 07"
std::wstring SpacedId(int id) {
    return L"ID " + RegistrationIdDigits<wchar_t>(id);
}

// How the final listing differs from the plan, named for the operator.
std::wstring Difference(const ListingDifference& d) {
    const std::wstring id = RegistrationIdText<wchar_t>(d.id);
    switch (d.what) {
    case ListingMismatch::Missing:
        return id + L" is not in the printer's listing";
    case ListingMismatch::Name:
        return id + L" is listed as \"" + FromCodePage(d.listedName) + L"\", not \"" +
               FromCodePage(d.plannedName) + L"\"";
    case ListingMismatch::CharacterCount:
        return id + L" is listed with " + std::to_wstring(d.listed) + L" characters, not " +
               std::to_wstring(d.planned);
    case ListingMismatch::DataSize:
        return id + L" is listed with " + std::to_wstring(d.listed) + L" bytes, not " +
               std::to_wstring(d.planned);
    case ListingMismatch::CharacterCode:
        return id + L" lists " + CodePointText<wchar_t>(uint32_t(d.listed)) + L" as character " +
               std::to_wstring(d.character + 1) + L", not " +
               CodePointText<wchar_t>(uint32_t(d.planned));
    case ListingMismatch::None:
        break;
    }
    return L"";
}

unsigned Percent(const PortView& port) {
    return port.count == 0 ? 0 : unsigned(uint64_t(port.sent) * 100 / port.count);
}

// Plain lines follow a port's steps and each quarter of a registration, so a
// log holds a handful of lines per registration, not one per redraw.
int Milestone(const PortView& port) {
    const int quarter = int(Percent(port) / 25);
    return int(port.step) * 100000 + int(port.registration) * 10 + quarter;
}

} // namespace

ProvisionDisplay::ProvisionDisplay(const std::vector<PlannedRegistration>& plan)
    : m_plan(plan), m_bConsole(console::ErrIsConsole()) {}

std::wstring ProvisionDisplay::Registration(size_t index) const {
    const PlanLine& line = m_plan.at(index).line;
    const std::wstring file = FromCodePage(line.file, CP_UTF8);
    if (line.lineNumber == 0)
        return SpacedId(line.id) + L" (" + file + L")";
    return L"line " + std::to_wstring(line.lineNumber) + L" (" + SpacedId(line.id) + L", " + file +
           L")";
}

std::wstring ProvisionDisplay::ProgressLine(const PortView& port) const {
    std::wstring text = PortColumn(port.printer) + L" ";
    if (port.finished) {
        return text + (port.outcome == PortOutcome::Ok       ? L"done"
                       : port.outcome == PortOutcome::Failed ? L"failed"
                                                             : L"cancelled");
    }
    switch (port.step) {
    case PortStep::Waiting:
        return text + L"waiting";
    case PortStep::Opening:
        return text + L"opening the port";
    case PortStep::Clearing:
        return text + L"all clear";
    case PortStep::Registering:
        return text + std::to_wstring(port.registration + 1) + L"/" +
               std::to_wstring(m_plan.size()) + L" " + Registration(port.registration) + L" " +
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
        // A port's end shows in its summary line.
        if (ports[i].finished || Milestone(ports[i]) == m_milestones[i])
            continue;
        m_milestones[i] = Milestone(ports[i]);
        text += lines[i] + L"\n";
    }
    if (!text.empty())
        console::Err(text);
}

std::wstring ProvisionDisplay::SummaryLine(const PortView& port, const PortResult& result) const {
    const std::wstring name = FromCodePage(port.printer, CP_UTF8);
    if (result.outcome == PortOutcome::Ok) {
        // What this run stored, not whatever else the printer holds; the
        // memory is the printer's whole use.
        std::wstring ids;
        for (const PlannedRegistration& registration : m_plan)
            ids += L" " + RegistrationIdText<wchar_t>(registration.line.id);
        return name + L" ok:" + ids + L", memory " + std::to_wstring(result.memoryUse / 1024) +
               L"/" + PrinterMemoryText<wchar_t>();
    }
    std::wstring where;
    switch (result.step) {
    case PortStep::Clearing:
        where = L" at the all clear";
        break;
    case PortStep::Registering:
        where = L" at " + Registration(result.registration);
        break;
    case PortStep::Listing:
        where = L" at the listing";
        break;
    default:
        break;
    }
    if (result.outcome == PortOutcome::Cancelled)
        return name + L" cancelled" + where;
    std::wstring why;
    switch (result.failure) {
    case PortFailure::Report:
        if (const std::optional<PrinterMessage> message = PrinterMessageFor(result.report))
            why = message->namesPrinter
                      ? LoadTextWith(message->id, {FromCodePage(result.report.printer, CP_UTF8)})
                      : LoadText(message->id);
        break;
    case PortFailure::OverwriteRefused:
        why = SpacedId(m_plan.at(result.registration).line.id) +
              L" is registered already and --overwrite is no";
        break;
    case PortFailure::ListingDiffers:
        why = Difference(result.difference);
        break;
    case PortFailure::None:
        break;
    }
    return name + L" failed" + where + (why.empty() ? L"" : L": " + why);
}

void ProvisionDisplay::Summarize(const std::vector<PortView>& ports,
                                 const std::vector<PortResult>& results) {
    std::wstring text;
    for (size_t i = 0; i < ports.size() && i < results.size(); ++i)
        text += SummaryLine(ports[i], results[i]) + L"\n";
    console::Out(text);
}
