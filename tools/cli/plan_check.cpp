#include "tools/cli/plan_check.h"

#include "operations/plan_file.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/loaded_registration.h"

namespace {

int Refuse(const std::wstring& planPath, int line, const std::wstring& why) {
    const std::wstring where = line > 0 ? L" line " + std::to_wstring(line) : L"";
    return UsageError(planPath + where + L": " + why);
}

} // namespace

int LoadProvisionPlan(const std::wstring& planPath, const PrinterModel* model,
                      std::vector<PlannedRegistration>* plan) {
    std::wstring problem;
    PlanFileResult loaded = LoadPlanFile(
        planPath, [&](const std::wstring& path, const PlanLine& line, PlannedRegistration* out) {
            const std::wstring where = planPath + L" line " + std::to_wstring(line.lineNumber);
            return BuildRegistrationFromFile(path, line.id, model, where, out, &problem);
        });
    switch (loaded.problem) {
    case PlanFileProblem::None:
        break;
    case PlanFileProblem::TooLarge:
        return UsageError(planPath + L": the plan is larger than its limit of 1 MB (" +
                          std::to_wstring(kMaxPlanBytes) + L" bytes)");
    case PlanFileProblem::ReadFailed:
        return UsageError(L"cannot read the plan\n" + FileProblem(planPath, loaded.systemError));
    case PlanFileProblem::Text:
        return Refuse(planPath, loaded.line, PlanProblemText(loaded.text, loaded.otherLine));
    case PlanFileProblem::Registration:
        return Refuse(planPath, loaded.line, problem);
    case PlanFileProblem::BeyondMemory:
        return Refuse(planPath, loaded.line,
                      L"with this registration the plan takes " + std::to_wstring(loaded.total) +
                          L" bytes, more than the printer's " +
                          std::to_wstring(kPrinterMemoryBytes) + L" (" +
                          PrinterMemoryText<wchar_t>() + L")");
    }
    *plan = std::move(loaded.plan);
    return 0;
}
