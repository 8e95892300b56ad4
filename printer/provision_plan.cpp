#include "printer/provision_plan.h"

#include <algorithm>

#include "printer/registration_id.h"
#include "printer/text_formats.h"

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t c = uint8_t(text[i]);
        size_t extra = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const uint8_t next = uint8_t(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && (IsBlank(text[end - 1]) || text[end - 1] == '\r'))
        --end;
    return text.substr(begin, end - begin);
}

PlanText Refused(PlanProblem problem, int line, int otherLine = 0) {
    PlanText plan;
    plan.problem = problem;
    plan.problemLine = line;
    plan.otherLine = otherLine;
    return plan;
}

} // namespace

PlanText ParsePlan(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    PlanText plan;
    int firstLineOf[100] = {};
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string raw = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (raw.find('\0') != std::string::npos)
            return Refused(PlanProblem::ZeroByte, lineNumber);
        if (!IsUtf8(raw))
            return Refused(PlanProblem::NotUtf8, lineNumber);
        const std::string line = Trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t idEnd = std::min(line.find(' '), line.find('\t'));
        bool outOfRange = false;
        const std::optional<int> parsed = ParseRegistrationId(line.substr(0, idEnd), &outOfRange);
        if (!parsed)
            return Refused(outOfRange ? PlanProblem::IdOutOfRange : PlanProblem::NoId, lineNumber);
        const int id = *parsed;
        const std::string file = idEnd == std::string::npos ? "" : Trimmed(line.substr(idEnd));
        if (file.empty())
            return Refused(PlanProblem::NoFile, lineNumber);
        if (firstLineOf[id] != 0)
            return Refused(PlanProblem::DuplicateId, lineNumber, firstLineOf[id]);
        firstLineOf[id] = lineNumber;
        plan.lines.push_back({lineNumber, id, file});
    }
    if (plan.lines.empty())
        return Refused(PlanProblem::Empty, 0);
    return plan;
}

uint64_t PlannedRegistration::MemoryUse() const {
    return EntryMemoryUse(record.m_dwCharCount, record.m_dwBytesPerGlyph);
}

std::optional<size_t> FirstBeyondMemory(const std::vector<PlannedRegistration>& plan) {
    uint64_t total = 0;
    for (size_t i = 0; i < plan.size(); ++i) {
        total += plan[i].MemoryUse();
        if (total > kPrinterMemoryBytes)
            return i;
    }
    return std::nullopt;
}
