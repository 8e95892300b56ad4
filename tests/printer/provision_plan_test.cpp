#include "printer/provision_plan.h"

#include <cstring>

#include <gtest/gtest.h>

#include <string>

#include "printer/planned_listing.h"

namespace {

PlanText Parse(const std::string& text) {
    return ParsePlan(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(ProvisionPlan, LinesCommentsAndProblems) {
    using P = PlanProblem;
    const struct {
        const char* text;
        PlanProblem problem;
        int line;      // problem line, or the number of registrations read
        int otherLine; // DuplicateId only
    } cases[] = {
        {"1 a.kfd\n2 b.kfd\n", P::None, 2, 0},
        {"\xEF\xBB\xBF# BOM and comment\r\n\r\n  07\tfonts/a b.kfd  \r\n", P::None, 1, 0},
        {"99 a.kfd", P::None, 1, 0},
        {"1 a.kfd\n# 1 again\n1 b.kfd\n", P::DuplicateId, 3, 1},
        {"1 a.kfd\n01 b.kfd\n", P::DuplicateId, 2, 1},
        {"100 a.kfd\n", P::IdOutOfRange, 1, 0},
        {"99999999999999999999 a.kfd\n", P::IdOutOfRange, 1, 0},
        {"\n-1 a.kfd\n", P::NoId, 2, 0},
        {"a.kfd\n", P::NoId, 1, 0},
        {"1a.kfd\n", P::NoId, 1, 0},
        {"5\n", P::NoFile, 1, 0},
        {"5   \t\n", P::NoFile, 1, 0},
        {"1 a.kfd\n2 \xFF.kfd\n", P::NotUtf8, 2, 0},
        {"1 \xC0\xAF.kfd\n", P::NotUtf8, 1, 0},     // overlong "/"
        {"1 \xED\xA0\x80.kfd\n", P::NotUtf8, 1, 0}, // a surrogate
        {"1 \xE3\x81\n", P::NotUtf8, 1, 0},         // cut short
        {"", P::Empty, 0, 0},
        {"# only\n\n", P::Empty, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const PlanText plan = Parse(c.text);
        EXPECT_EQ(plan.problem, c.problem);
        if (c.problem == P::None) {
            EXPECT_EQ(int(plan.lines.size()), c.line);
        } else {
            EXPECT_EQ(plan.problemLine, c.line);
            EXPECT_EQ(plan.otherLine, c.otherLine);
        }
    }
}

TEST(ProvisionPlan, KeepsLineNumbersIdsAndFilesAsWritten) {
    const PlanText plan = Parse("\xEF\xBB\xBF# fonts\n\n3 a.kfd\n 07\t\xE5\xAD\x97/b c.kfd \n");
    ASSERT_EQ(plan.lines.size(), 2u);
    EXPECT_EQ(plan.lines[0].lineNumber, 3);
    EXPECT_EQ(plan.lines[0].id, 3);
    EXPECT_EQ(plan.lines[0].file, "a.kfd");
    EXPECT_EQ(plan.lines[1].lineNumber, 4);
    EXPECT_EQ(plan.lines[1].id, 7);
    EXPECT_EQ(plan.lines[1].file, "\xE5\xAD\x97/b c.kfd");
}

PlannedRegistration Registration(uint32_t characters, uint32_t bytesPerGlyph) {
    PlannedRegistration r;
    r.record.m_dwCharCount = characters;
    r.record.m_dwBytesPerGlyph = bytesPerGlyph;
    return r;
}

TEST(ProvisionPlan, TotalAgainstThePrintersMemory) {
    // Each registration costs n x (bytes per glyph + 10); 240 KB = 245760.
    const struct {
        std::vector<std::pair<uint32_t, uint32_t>> plan;
        std::optional<size_t> beyond;
    } cases[] = {
        {{{1000, 110}, {1048, 110}}, std::nullopt}, // 120000 + 125760: exactly full
        {{{1000, 110}, {1049, 110}}, 1},            // one character too many
        {{{5000, 40}, {1, 0}}, 0},                  // 250000 alone
        {{{0, 500}, {2, 0}}, std::nullopt},
    };
    for (const auto& c : cases) {
        std::vector<PlannedRegistration> plan;
        for (const auto& r : c.plan)
            plan.push_back(Registration(r.first, r.second));
        EXPECT_EQ(FirstBeyondMemory(plan), c.beyond);
    }
}

TEST(ProvisionPlan, ListingComparedWithThePlannedRegistration) {
    // Planned: ID 02 "NEWKANA", U+3042 U+3044 U+3046 of 8 bytes each.
    PlannedRegistration planned;
    planned.line.id = 2;
    FontHeader h;
    std::memcpy(h.bytes.data() + FontHeader::kRegistrationId, "02", 2);
    std::memcpy(h.bytes.data() + FontHeader::kRegName, "NEWKANA", 7);
    h.SetDWord(FontHeader::kCharCount, 3);
    h.SetDWord(FontHeader::kBytesPerGlyph, 8);
    ASSERT_TRUE(planned.record.SetDownloadData(
        h, {{0x3042, 0, 8, 8}, {0x3044, 0, 8, 8}, {0x3046, 0, 8, 8}}, 8));
    planned.record.BuildInfoBlock();
    using M = ListingMismatch;
    const struct {
        void (*change)(CFontPT&);
        ListingMismatch what;
    } cases[] = {
        {[](CFontPT&) {}, M::None},
        {[](CFontPT& e) { e.m_nId = 3; }, M::Missing},
        {[](CFontPT& e) { e.m_infoBlock[FontInfoBlock::kRegName + 7] = 'S'; }, M::Name},
        {[](CFontPT& e) { --e.m_nCharCount; }, M::CharacterCount},
        {[](CFontPT& e) { e.m_nDataSize = 30; }, M::DataSize},
        {[](CFontPT& e) { e.m_charEntries[2][0] = 0x48; }, M::CharacterCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.what));
        CFontPT listed; // as the printer's listing gives it back
        listed.ParseInfoBlock(planned.record.m_infoBlock.data());
        for (size_t i = 0; i < 3; ++i)
            listed.m_charEntries.push_back(
                {planned.record.WireRecord(i)[0], planned.record.WireRecord(i)[1], 0, 8, 0, 8});
        c.change(listed);
        EXPECT_EQ(CompareWithListing(planned, {listed}).what, c.what);
    }
}

} // namespace
