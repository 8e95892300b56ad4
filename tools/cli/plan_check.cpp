#include "tools/cli/plan_check.h"

#include "framework/code_page_text.h"
#include "framework/whole_file.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/loaded_registration.h"

namespace {

// A plan of a hundred lines is a few kilobytes; anything near this is not one.
constexpr uint64_t kMaxPlanSize = 1024 * 1024;

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

bool IsAbsolute(const std::wstring& path) {
    return (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) ||
           (path.size() >= 2 && path[1] == L':');
}

std::wstring Problem(PlanProblem problem, int otherLine) {
    switch (problem) {
    case PlanProblem::ZeroByte:
        return L"the line holds a zero byte, which no text line does";
    case PlanProblem::NotUtf8:
        return L"the line is not UTF-8 text";
    case PlanProblem::NoId:
        return L"a line reads ID FILE.kfd, with the registration ID first";
    case PlanProblem::IdOutOfRange:
        return L"the registration ID must be 0 to 99";
    case PlanProblem::NoFile:
        return L"the ID has no font data file";
    case PlanProblem::DuplicateId:
        return L"the ID is planned on line " + std::to_wstring(otherLine) + L" already";
    case PlanProblem::Empty:
        return L"the plan names no registration";
    case PlanProblem::None:
        break;
    }
    return L"";
}

int Refuse(const std::wstring& planPath, int line, const std::wstring& why) {
    const std::wstring where = line > 0 ? L" line " + std::to_wstring(line) : L"";
    return UsageError(planPath + where + L": " + why);
}

} // namespace

int LoadProvisionPlan(const std::wstring& planPath, const PrinterModel* model,
                      std::vector<PlannedRegistration>* plan) {
    std::vector<uint8_t> bytes;
    uint32_t error = 0;
    switch (ReadWholeFile(planPath, kMaxPlanSize, &bytes, &error)) {
    case FileReadResult::Ok:
        break;
    case FileReadResult::TooLarge:
        return UsageError(planPath + L": the plan is larger than its limit of 1 MB (" +
                          std::to_wstring(kMaxPlanSize) + L" bytes)");
    case FileReadResult::OpenFailed:
    case FileReadResult::ReadFailed:
        return UsageError(L"cannot read the plan\n" + FileProblem(planPath, error));
    }
    const PlanText text = ParsePlan(bytes.data(), bytes.size());
    if (text.problem != PlanProblem::None)
        return Refuse(planPath, text.problemLine, Problem(text.problem, text.otherLine));

    // Every registration is built now, on this thread, before any port is
    // opened: rendering needs the display context, and the printers' threads
    // then only read what was built.
    plan->clear();
    const std::wstring folder = FolderOf(planPath);
    for (const PlanLine& line : text.lines) {
        // The plan's lines were found to be UTF-8 when it was parsed.
        const std::wstring file = FromCodePage(line.file, CP_UTF8);
        const std::wstring path = IsAbsolute(file) ? file : folder + file;
        PlannedRegistration registration;
        registration.line = line;
        std::wstring problem;
        const std::wstring where = planPath + L" line " + std::to_wstring(line.lineNumber);
        if (!BuildRegistrationFromFile(path, line.id, model, where, &registration, &problem))
            return Refuse(planPath, line.lineNumber, problem);
        plan->push_back(std::move(registration));
    }
    if (const std::optional<size_t> beyond = FirstBeyondMemory(*plan)) {
        uint64_t total = 0;
        for (size_t i = 0; i <= *beyond; ++i)
            total += (*plan)[i].MemoryUse();
        return Refuse(planPath, (*plan)[*beyond].line.lineNumber,
                      L"with this registration the plan takes " + std::to_wstring(total) +
                          L" bytes, more than the printer's " +
                          std::to_wstring(kPrinterMemoryBytes) + L" (" +
                          PrinterMemoryText<wchar_t>() + L")");
    }
    return 0;
}
