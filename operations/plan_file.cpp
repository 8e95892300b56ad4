#include "operations/plan_file.h"

#include <cwctype>

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "framework/whole_file.h"
#include "res/resource_ids.h"

namespace {

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

bool IsAbsolute(const std::wstring& path) {
    return (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) ||
           (path.size() >= 2 && path[1] == L':');
}

// Windows compares file names without regard to case.
bool SameFolderText(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const wchar_t x = a[i] == L'/' ? L'\\' : wchar_t(std::towlower(a[i]));
        const wchar_t y = b[i] == L'/' ? L'\\' : wchar_t(std::towlower(b[i]));
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::wstring PlanEntryPath(const std::wstring& planPath, const std::wstring& file) {
    return IsAbsolute(file) ? file : FolderOf(planPath) + file;
}

PlanFileResult LoadPlanFile(const std::wstring& planPath, const PlanLineBuilder& build) {
    PlanFileResult result;
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(planPath, kMaxPlanBytes, &bytes, &result.systemError)) {
    case FileReadResult::Ok:
        break;
    case FileReadResult::TooLarge:
        result.problem = PlanFileProblem::TooLarge;
        return result;
    case FileReadResult::OpenFailed:
    case FileReadResult::ReadFailed:
        result.problem = PlanFileProblem::ReadFailed;
        return result;
    }
    const PlanText text = ParsePlan(bytes.data(), bytes.size());
    if (text.problem != PlanProblem::None) {
        result.problem = PlanFileProblem::Text;
        result.text = text.problem;
        result.line = text.problemLine;
        result.otherLine = text.otherLine;
        return result;
    }
    // Every registration is built now, on this thread, before any port is
    // opened: rendering needs the display context, and the printers' threads
    // then only read what was built.
    for (const PlanLine& line : text.lines) {
        // The plan's lines were found to be UTF-8 when it was parsed.
        const std::wstring path = PlanEntryPath(planPath, FromCodePage(line.file, CP_UTF8));
        PlannedRegistration registration;
        registration.line = line;
        if (!build(path, line, &registration)) {
            result.problem = PlanFileProblem::Registration;
            result.line = line.lineNumber;
            result.plan.clear();
            return result;
        }
        result.plan.push_back(std::move(registration));
    }
    if (const std::optional<size_t> beyond = FirstBeyondMemory(result.plan)) {
        for (size_t i = 0; i <= *beyond; ++i)
            result.total += result.plan[i].MemoryUse();
        result.problem = PlanFileProblem::BeyondMemory;
        result.line = result.plan[*beyond].line.lineNumber;
        result.plan.clear();
    }
    return result;
}

std::string PlanFileText(const std::wstring& planPath, const std::vector<PlanEntry>& entries) {
    const std::wstring folder = FolderOf(planPath);
    std::string text;
    for (const PlanEntry& entry : entries) {
        std::wstring file = entry.path;
        if (!folder.empty() && file.size() > folder.size() &&
            SameFolderText(file.substr(0, folder.size()), folder))
            file = file.substr(folder.size());
        text += std::to_string(entry.id) + " " + ToCodePage(file, CP_UTF8) + "\r\n";
    }
    return text;
}

std::wstring PlanProblemText(PlanProblem problem, int otherLine) {
    switch (problem) {
    case PlanProblem::ZeroByte:
        return LoadText(IDS_PLAN_ZERO_BYTE);
    case PlanProblem::NotUtf8:
        return LoadText(IDS_PLAN_NOT_UTF8);
    case PlanProblem::NoId:
        return LoadText(IDS_PLAN_NO_ID);
    case PlanProblem::IdOutOfRange:
        return LoadText(IDS_PLAN_ID_RANGE);
    case PlanProblem::NoFile:
        return LoadText(IDS_PLAN_NO_FILE);
    case PlanProblem::DuplicateId:
        return LoadTextWith(IDS_PLAN_DUPLICATE, {std::to_wstring(otherLine)});
    case PlanProblem::Empty:
        return LoadText(IDS_PLAN_EMPTY);
    case PlanProblem::None:
        break;
    }
    return L"";
}
