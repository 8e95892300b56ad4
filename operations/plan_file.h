#pragma once
// A provisioning plan file: read and checked whole before any printer is
// opened, and written back as the same "ID FILE.kfd" lines.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "printer/provision_plan.h"

// A plan holds a few kilobytes; anything near this is not one.
constexpr uint64_t kMaxPlanBytes = 1024 * 1024;

enum class PlanFileProblem {
    None,
    ReadFailed,   // systemError
    TooLarge,     // over kMaxPlanBytes
    Text,         // text: what is wrong with line (and otherLine)
    Registration, // the registration of line was refused; the builder said why
    BeyondMemory, // with line's registration the plan takes total bytes
};

struct PlanFileResult {
    PlanFileProblem problem = PlanFileProblem::None;
    uint32_t systemError = 0;
    PlanProblem text = PlanProblem::None;
    int line = 0;
    int otherLine = 0;
    uint64_t total = 0;
    std::vector<PlannedRegistration> plan;
};

// Builds the registration of one plan line from the file at path (made
// absolute); false when refused, after saying why.
using PlanLineBuilder =
    std::function<bool(const std::wstring& path, const PlanLine& line, PlannedRegistration* out)>;

// Reads the plan at planPath and builds every registration it names (paths
// relative to the plan's folder), then checks the total against the
// printer's memory. Stops at the first problem.
PlanFileResult LoadPlanFile(const std::wstring& planPath, const PlanLineBuilder& build);

// The path a plan line names, relative to the plan's folder unless absolute.
std::wstring PlanEntryPath(const std::wstring& planPath, const std::wstring& file);

// The plan file's text (UTF-8, one "ID FILE" a line) for registrations of
// files at the given paths, each relative to the plan's folder when it lies
// there.
struct PlanEntry {
    int id = 0;
    std::wstring path;
};
std::string PlanFileText(const std::wstring& planPath, const std::vector<PlanEntry>& entries);

// What is wrong with a plan's line, in the words both front ends use
// (otherLine: the line that plans the ID already).
std::wstring PlanProblemText(PlanProblem problem, int otherLine);
