#include "printer/registered_data.h"

#include <gtest/gtest.h>

#include "printer_bytes.h"

namespace {

TEST(RegisteredData, ListLineFormat) {
    CFontPT r;
    r.ParseInfoBlock(Block("05", "Sample", 72, 100).data());
    EXPECT_EQ(FormatListLine(r), "ID05 Sample 7200byte");
    r.ParseInfoBlock(Block("99", std::string(32, 'W'), 0, 0).data());
    EXPECT_EQ(FormatListLine(r), "ID99 " + std::string(32, 'W') + " 0byte");
}

TEST(RegisteredData, OverwriteQuestionNamesTheEntryOfTheLastListing) {
    CFontPT paste;
    paste.ParseInfoBlock(Block("00", "PASTE", 72, 3).data());
    const std::vector<CFontPT> listing{paste};
    EXPECT_EQ(OverwriteQuestionLine(listing, 0), "ID00 PASTE");
    EXPECT_EQ(OverwriteQuestionLine(listing, 7), "ID07");
    EXPECT_EQ(OverwriteQuestionLine({}, 0), "ID00");
}

TEST(RegisteredData, MemoryDropsTheRemainder) {
    RegisteredData panel;
    EXPECT_FALSE(panel.MemoryAvailable()); // "N/A" before the first query
    ListingUpdate u;
    u.memory = MemoryChange::Usage;
    u.memoryUse = 2047;
    panel.Apply(u);
    EXPECT_EQ(panel.MemoryKilobytes(), 1);
    u.memoryUse = 245760;
    panel.Apply(u);
    EXPECT_EQ(panel.MemoryKilobytes(), 240);
    u.memory = MemoryChange::NotAvailable;
    panel.Apply(u);
    EXPECT_FALSE(panel.MemoryAvailable());
}

} // namespace
