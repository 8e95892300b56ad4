#include "app/help_path.h"

#include <gtest/gtest.h>

TEST(HelpPath, BesideTheExecutableNamedAfterTheOriginalFile) {
    const struct {
        const char* module;
        const char* original;
        const char* expected;
    } cases[] = {
        {"D:\\Apps\\Glyphkit.exe", "X.exe", "D:\\Apps\\\\X.chm"},
        {"C:\\Program Files\\Tool\\renamed.exe", "Glyphkit.exe",
         "C:\\Program Files\\Tool\\\\Glyphkit.chm"},
        {"C:\\a.b\\Glyphkit.exe", "dir\\Name.v2.exe", "C:\\a.b\\\\Name.v2.chm"},
        {"D:\\Apps\\Glyphkit.exe", "", "D:\\Apps\\\\.chm"}, // no version information
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpFilePath(c.module, c.original), c.expected) << c.module;
}
