#include "tools/cli/upkeep_on_ports.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "framework/code_page_text.h"
#include "printer/printer_connection.h"
#include "printer/provision_run.h"
#include "printer/registered_data.h"
#include "tools/cli/console.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/json_text.h"
#include "tools/cli/listing_json.h"
#include "tools/cli/port_summary.h"
#include "tools/cli/provision_display.h"

namespace {

constexpr std::chrono::milliseconds kRedrawEvery{250};

const wchar_t* StatusName(const PortResult& result) {
    return result.outcome == PortOutcome::Ok       ? L"ok"
           : result.outcome == PortOutcome::Failed ? L"failed"
                                                   : L"cancelled";
}

// Why it failed, or what a deletion came to.
std::wstring Message(const PortResult& result) {
    if (result.outcome == PortOutcome::Cancelled)
        return L"cancelled by Ctrl+C";
    return ReportText(result.report);
}

std::wstring Memory(const PortResult& result) {
    return std::to_wstring(result.memoryUse / 1024) + L"/240 KB";
}

// The printer's name, then what it said and holds, indented.
std::wstring Block(const std::string& printer, const PortResult& result) {
    std::wstring text = FromCodePage(printer, CP_UTF8) + L"\n";
    if (const std::wstring message = Message(result); !message.empty())
        text += L"  " + message + L"\n";
    if (result.outcome != PortOutcome::Ok)
        return text;
    for (const CFontPT& record : result.listed)
        text += L"  " + FromCodePage(FormatListLine(record)) + L"\n";
    return text + L"  " + Memory(result) + L"\n";
}

std::wstring Padded(std::wstring text, size_t width) {
    text.resize(std::max(width, text.size()), L' ');
    return text;
}

// printer, registrations, memory used and status, a row per printer.
std::wstring Table(const std::vector<PortView>& ports, const std::vector<PortResult>& results) {
    size_t width = 7; // "printer"
    for (const PortView& port : ports)
        width = std::max(width, FromCodePage(port.printer, CP_UTF8).size());
    std::wstring text = Padded(L"printer", width) + L"  registrations  memory      status\n";
    for (size_t i = 0; i < ports.size() && i < results.size(); ++i) {
        const PortResult& r = results[i];
        const bool ok = r.outcome == PortOutcome::Ok;
        std::wstring status = StatusName(r);
        if (!ok)
            status +=
                (r.step == PortStep::Waiting ? L"" : std::wstring(L" while ") + StepName(r.step));
        text += Padded(FromCodePage(ports[i].printer, CP_UTF8), width) + L"  " +
                Padded(ok ? std::to_wstring(r.listed.size()) : L"-", 13) + L"  " +
                Padded(ok ? Memory(r) : L"-", 10) + L"  " + status + L"\n";
    }
    return text;
}

std::wstring JsonLine(const std::string& printer, const PortResult& r) {
    const bool ok = r.outcome == PortOutcome::Ok;
    return L"{\"printer\":" + JsonString(FromCodePage(printer, CP_UTF8)) + L",\"address\":" +
           (r.address.empty() ? L"null" : JsonString(FromCodePage(r.address, CP_UTF8))) +
           L",\"status\":\"" + StatusName(r) + L"\",\"changed\":" +
           (r.changed ? L"true" : L"false") + L",\"message\":" + JsonString(Message(r)) +
           L",\"entries\":" + EntriesJson(r.listed) + L",\"memory\":" +
           (ok ? std::to_wstring(r.memoryUse) : L"null") + L"}\n";
}

} // namespace

int RunUpkeepOnPorts(const UpkeepJob& job, const PrinterOptions& printers,
                     const PlanRunOptions& run) {
    std::atomic<bool> interrupted{false};
    InterruptFlag interrupt(interrupted);
    ProvisionBoard board(PrinterNamesUtf8(printers));
    const std::vector<PlannedRegistration> noPlan;
    ProvisionDisplay display(noPlan);
    const PortJob upkeep = [&](PrinterLink& link, PortProgress& progress,
                               const std::atomic<bool>& cancel) {
        return UpkeepPort(link, job, progress, cancel);
    };
    RunOnPrinters(
        upkeep, [&](size_t i) { return OpenPrinter(printers.printers[i]); }, board, interrupted,
        [&] { display.Show(board.Snapshot()); }, kRedrawEvery, run.jobs);
    const std::vector<PortResult> results = board.Results();
    const std::vector<PortView> ports = board.Snapshot();
    std::wstring out;
    for (size_t i = 0; i < ports.size() && i < results.size(); ++i)
        out +=
            run.json ? JsonLine(ports[i].printer, results[i]) : Block(ports[i].printer, results[i]);
    if (!run.json)
        out += L"\n" + Table(ports, results);
    console::Out(out);
    if (interrupted)
        console::Err(L"glyphkit-cli: interrupted\n");

    const size_t failed =
        size_t(std::count_if(results.begin(), results.end(),
                             [](const PortResult& r) { return r.outcome != PortOutcome::Ok; }));
    if (interrupted)
        return kInterruptedStatus;
    if (failed == 0)
        return 0;
    console::Err(L"glyphkit-cli: " + std::to_wstring(failed) + L" of " +
                 std::to_wstring(results.size()) + L" printers did not answer as asked\n");
    return 1;
}
