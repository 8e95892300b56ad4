#include "tools/cli/port_summary.h"

#include <algorithm>
#include <optional>

#include "framework/code_page_text.h"
#include "printer/text_formats.h"
#include "tools/cli/json_text.h"

namespace {

// "ID 07"
std::wstring SpacedId(int id) {
    return L"ID " + RegistrationIdDigits<wchar_t>(id);
}

bool IsKept(const PortResult& result, size_t index) {
    for (size_t kept : result.kept)
        if (kept == index)
            return true;
    return false;
}

} // namespace

// How the final listing differs from the plan, named for the operator.
std::wstring DifferenceText(const ListingDifference& d) {
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

std::wstring RegistrationText(const PlannedRegistration& registration) {
    const PlanLine& line = registration.line;
    const std::wstring file = FromCodePage(line.file, CP_UTF8);
    if (line.lineNumber == 0)
        return SpacedId(line.id) + L" (" + file + L")";
    return L"line " + std::to_wstring(line.lineNumber) + L" (" + SpacedId(line.id) + L", " + file +
           L")";
}

std::wstring PortSummary::Where(const PortResult& result) const {
    switch (result.step) {
    case PortStep::Waiting:
        // Its turn never came; a port that failed before it began says nothing
        // of where.
        return result.outcome == PortOutcome::Cancelled ? L" while waiting" : L"";
    case PortStep::Clearing:
        return L" at the all clear";
    case PortStep::Deleting:
        return L" at the deletion";
    case PortStep::Surveying:
        return L" at the first listing";
    case PortStep::Registering:
        return L" at " + RegistrationText(m_plan.at(result.registration));
    case PortStep::Listing:
        return L" at the listing";
    case PortStep::Opening:
    case PortStep::Done:
        break;
    }
    return L"";
}

std::wstring PortSummary::Why(const PortResult& result) const {
    if (result.outcome != PortOutcome::Failed)
        return L"";
    switch (result.failure) {
    case PortFailure::Report:
        if (const std::wstring text = ReportText(result.report); !text.empty())
            return text;
        break;
    case PortFailure::OverwriteRefused:
        return SpacedId(m_plan.at(result.registration).line.id) +
               L" is registered already and --overwrite is no";
    case PortFailure::ListingDiffers:
        return DifferenceText(result.difference);
    case PortFailure::None:
        break;
    }
    return L"";
}

std::wstring PortSummary::Line(const PortView& port, const PortResult& result) const {
    const std::wstring name = FromCodePage(port.printer, CP_UTF8);
    if (result.outcome == PortOutcome::Ok) {
        // What this run stored, then what it found there already, not
        // whatever else the printer holds; the memory is the printer's
        // whole use.
        std::wstring stored, kept;
        for (size_t i = 0; i < m_plan.size(); ++i)
            (IsKept(result, i) ? kept : stored) +=
                L" " + RegistrationIdText<wchar_t>(m_plan[i].line.id);
        if (!kept.empty())
            kept = (stored.empty() ? L" kept" : L", kept") + kept;
        return name + L" ok:" + stored + kept + L", memory " +
               std::to_wstring(result.memoryUse / 1024) + L"/" + PrinterMemoryText<wchar_t>();
    }
    if (result.outcome == PortOutcome::Cancelled)
        return name + L" cancelled" + Where(result);
    const std::wstring why = Why(result);
    return name + L" failed" + Where(result) + (why.empty() ? L"" : L": " + why);
}

std::wstring PortSummary::JsonLine(const PortView& port, const PortResult& result) const {
    const bool ok = result.outcome == PortOutcome::Ok;
    // Only an ok printer's listing confirmed what it stored; what a failed
    // one acknowledged before it failed may be anything.
    std::vector<uint64_t> stored, kept;
    for (size_t i = 0; ok && i < m_plan.size(); ++i)
        (IsKept(result, i) ? kept : stored).push_back(uint64_t(m_plan[i].line.id));
    std::wstring json =
        L"{\"printer\":" + JsonString(FromCodePage(port.printer, CP_UTF8)) + L",\"address\":" +
        (result.address.empty() ? L"null" : JsonString(FromCodePage(result.address, CP_UTF8))) +
        L",\"status\":\"" +
        (ok                                         ? L"ok"
         : result.outcome == PortOutcome::Cancelled ? L"cancelled"
                                                    : L"failed") +
        L"\",\"changed\":" + (result.changed ? L"true" : L"false") + L",\"step\":\"" +
        StepName(ok ? PortStep::Done : result.step) + L"\"";
    if (!ok && result.step == PortStep::Registering)
        json += L",\"id\":" + std::to_wstring(m_plan.at(result.registration).line.id);
    return json + L",\"message\":" + JsonString(Why(result)) + L",\"stored\":" +
           JsonNumbers(stored) + L",\"kept\":" + JsonNumbers(kept) + L",\"memory\":" +
           (ok ? std::to_wstring(result.memoryUse) : L"null") + L"}";
}

std::wstring PortSummary::Lines(const std::vector<PortView>& ports,
                                const std::vector<PortResult>& results) const {
    std::wstring text;
    for (size_t i = 0; i < ports.size() && i < results.size(); ++i)
        text += Line(ports[i], results[i]) + L"\n";
    return text;
}

std::wstring PortSummary::JsonLines(const std::vector<PortView>& ports,
                                    const std::vector<PortResult>& results) const {
    std::wstring text;
    for (size_t i = 0; i < ports.size() && i < results.size(); ++i)
        text += JsonLine(ports[i], results[i]) + L"\n";
    return text;
}
