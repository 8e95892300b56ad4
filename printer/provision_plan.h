#pragma once
// A provisioning plan: the registrations to store in every printer, in order.
// The plan file holds one "ID FILE.kfd" a line (UTF-8, with or without BOM),
// blank lines and "#" comments.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "printer/font_pt.h"

struct PlanLine {
    int lineNumber = 0; // 1-based
    int id = 0;
    std::string file; // UTF-8, as written
};

enum class PlanProblem {
    None,
    ZeroByte,     // the line holds a zero byte, which would end its file name
    NotUtf8,      // the line is not valid UTF-8
    NoId,         // the line does not begin with a decimal ID
    IdOutOfRange, // the ID is not 0 to 99
    NoFile,       // an ID without a file
    DuplicateId,  // the ID is planned on an earlier line (otherLine)
    Empty,        // not one registration
};

struct PlanText {
    std::vector<PlanLine> lines;
    PlanProblem problem = PlanProblem::None;
    int problemLine = 0; // the line at fault
    int otherLine = 0;   // DuplicateId: the line that planned the ID first
};

PlanText ParsePlan(const uint8_t* data, size_t size);

// One registration as every printer receives it.
struct PlannedRegistration {
    PlanLine line;
    CFontPT record; // download record with its information block built
    std::vector<uint8_t> glyphs;
    // What the printer's memory gives it: n x bytes per glyph + 10 x n.
    uint64_t MemoryUse() const;
};

// The index of the registration that takes the plan's total past the
// printer's memory; nothing when the whole plan fits.
std::optional<size_t> FirstBeyondMemory(const std::vector<PlannedRegistration>& plan);
