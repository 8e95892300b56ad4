// libFuzzer target: a provisioning plan's text. A plan that is taken names
// each ID once with a file, and writing its lines out again plainly gives the
// same plan; one that is refused tells a line of the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "printer/provision_plan.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

PlanText Parse(const std::string& text) {
    return ParsePlan(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PlanText plan = ParsePlan(data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int textLines = int(std::count(text.begin(), text.end(), '\n')) + 1;
    if (plan.problem != PlanProblem::None) {
        Check(plan.lines.empty());
        Check(plan.problem == PlanProblem::Empty
                  ? plan.problemLine == 0
                  : plan.problemLine >= 1 && plan.problemLine <= textLines);
        if (plan.problem == PlanProblem::DuplicateId)
            Check(plan.otherLine >= 1 && plan.otherLine < plan.problemLine);
        else
            Check(plan.otherLine == 0);
        return 0;
    }

    Check(!plan.lines.empty() && plan.lines.size() <= 100);
    std::string plain;
    bool seen[100] = {};
    int previous = 0;
    for (const PlanLine& line : plan.lines) {
        Check(line.lineNumber > previous && line.lineNumber <= textLines);
        previous = line.lineNumber;
        Check(line.id >= 0 && line.id <= 99 && !seen[line.id]);
        seen[line.id] = true;
        // Blanks and a line end's carriage return are no part of the file.
        Check(!line.file.empty() && !IsBlank(line.file.front()) && !IsBlank(line.file.back()) &&
              line.file.back() != '\r');
        Check(line.file.find('\n') == std::string::npos &&
              line.file.find('\0') == std::string::npos);
        plain += std::to_string(line.id) + " " + line.file + "\n";
    }
    const PlanText again = Parse(plain);
    Check(again.problem == PlanProblem::None && again.lines.size() == plan.lines.size());
    for (size_t i = 0; i < plan.lines.size(); ++i)
        Check(again.lines[i].id == plan.lines[i].id && again.lines[i].file == plan.lines[i].file &&
              again.lines[i].lineNumber == int(i) + 1);
    return 0;
}
