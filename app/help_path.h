#pragma once
// Where the help file lies: beside the executable, named after the base of
// the executable's original file name. Portable, so it is tested natively.
#include <string>

// modulePath is the executable's full path, originalFilename the name its
// version information gives. The directory keeps its separator and one more
// follows ("D:\Apps\" and "X.exe" give "D:\Apps\\X.chm"); the help viewer
// takes it.
std::string HelpFilePath(const std::string& modulePath, const std::string& originalFilename);
