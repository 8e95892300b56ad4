#include "operations/batch_report.h"

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "operations/port_report.h"
#include "printer/text_formats.h"
#include "res/batch_provision_ids.h"

namespace {

std::wstring IdDigits(int id) {
    return RegistrationIdDigits<wchar_t>(id);
}

unsigned StateId(PortStep step) {
    switch (step) {
    case PortStep::Waiting:
        return IDS_BATCH_STATE_WAITING;
    case PortStep::Opening:
        return IDS_BATCH_STATE_OPENING;
    case PortStep::Clearing:
        return IDS_BATCH_STATE_CLEARING;
    case PortStep::Deleting:
        return IDS_BATCH_STATE_DELETING;
    case PortStep::Surveying:
        return IDS_BATCH_STATE_SURVEYING;
    case PortStep::Registering:
        return IDS_BATCH_STATE_REGISTERING;
    case PortStep::Listing:
        return IDS_BATCH_STATE_LISTING;
    case PortStep::Done:
        break;
    }
    return IDS_BATCH_STATE_DONE;
}

bool IsKept(const PortResult& result, size_t index) {
    for (size_t kept : result.kept)
        if (kept == index)
            return true;
    return false;
}

std::string Utf8(const std::wstring& text) {
    return ToCodePage(text, CP_UTF8);
}

std::string IdList(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : " ") + std::to_string(id);
    return text;
}

} // namespace

std::wstring WhyNotDone(const PortResult& result, const std::vector<PlannedRegistration>& plan) {
    if (result.outcome == PortOutcome::Cancelled)
        return LoadText(IDS_BATCH_WHY_CANCELLED);
    if (result.outcome != PortOutcome::Failed)
        return L"";
    switch (result.failure) {
    case PortFailure::Report:
        return ReportText(result.report);
    case PortFailure::OverwriteRefused:
        return LoadTextWith(IDS_BATCH_WHY_OVERWRITE,
                            {IdDigits(plan.at(result.registration).line.id)});
    case PortFailure::ListingDiffers: {
        const ListingDifference& d = result.difference;
        if (d.what == ListingMismatch::Missing)
            return LoadTextWith(IDS_BATCH_WHY_MISSING, {IdDigits(d.id)});
        const wchar_t* what = d.what == ListingMismatch::Name             ? L"名称"
                              : d.what == ListingMismatch::CharacterCount ? L"文字数"
                              : d.what == ListingMismatch::DataSize       ? L"サイズ"
                                                                          : L"文字コード";
        return LoadTextWith(IDS_BATCH_WHY_DIFFERS, {IdDigits(d.id), what});
    }
    case PortFailure::None:
        break;
    }
    return L"";
}

PrinterLine DescribePrinter(const PortView& view, const PortResult* result,
                            const std::vector<PlannedRegistration>& plan) {
    PrinterLine line;
    const PortStep step = result && result->outcome == PortOutcome::Ok ? PortStep::Done
                          : result                                     ? result->step
                                                                       : view.step;
    if (!result)
        line.state = LoadText(StateId(step));
    else if (result->outcome == PortOutcome::Ok)
        line.state = LoadText(IDS_BATCH_STATE_DONE);
    else
        line.state = LoadText(result->outcome == PortOutcome::Failed ? IDS_BATCH_STATE_FAILED
                                                                     : IDS_BATCH_STATE_CANCELLED);
    line.step = result && result->outcome != PortOutcome::Ok ? LoadText(StateId(step)) : L"";
    if (step == PortStep::Registering && view.registration < plan.size()) {
        line.step =
            LoadTextWith(IDS_BATCH_STEP_REGISTERING,
                         {IdDigits(plan[view.registration].line.id),
                          std::to_wstring(view.registration + 1), std::to_wstring(plan.size())});
        // The count is known from the first acknowledged character on.
        if (view.count > 0)
            line.characters = std::to_wstring(view.sent) + L"/" + std::to_wstring(view.count);
    }
    if (result) {
        line.message = WhyNotDone(*result, plan);
        if (result->outcome == PortOutcome::Ok && !result->kept.empty()) {
            std::wstring kept;
            for (size_t index : result->kept)
                kept +=
                    (kept.empty() ? L"" : L" ") + RegistrationIdText<wchar_t>(plan[index].line.id);
            line.message = LoadTextWith(IDS_BATCH_DONE_KEPT, {kept});
        }
    }
    return line;
}

std::vector<CsvRow> ResultRows(const std::vector<std::wstring>& printers,
                               const std::vector<PortView>& views,
                               const std::vector<PortResult>& results,
                               const std::vector<PlannedRegistration>& plan) {
    CsvRow header;
    const std::wstring columns = LoadText(IDS_BATCH_CSV_COLUMNS);
    for (size_t from = 0;;) {
        const size_t bar = columns.find(L'|', from);
        header.push_back(Utf8(columns.substr(from, bar - from)));
        if (bar == std::wstring::npos)
            break;
        from = bar + 1;
    }
    std::vector<CsvRow> rows{header};
    for (size_t i = 0; i < views.size() && i < results.size() && i < printers.size(); ++i) {
        const PortResult& r = results[i];
        const bool ok = r.outcome == PortOutcome::Ok;
        // Only an ok printer's listing confirmed what it holds.
        std::vector<int> stored, kept;
        for (size_t k = 0; ok && k < plan.size(); ++k)
            (IsKept(r, k) ? kept : stored).push_back(plan[k].line.id);
        const PrinterLine line = DescribePrinter(views[i], &r, plan);
        rows.push_back({Utf8(printers[i]), r.address, Utf8(line.state), Utf8(line.step),
                        Utf8(line.characters), Utf8(line.message),
                        Utf8(LoadText(r.changed ? IDS_BATCH_CSV_CHANGED : IDS_BATCH_CSV_UNCHANGED)),
                        IdList(stored), IdList(kept), ok ? std::to_string(r.memoryUse) : ""});
    }
    return rows;
}
