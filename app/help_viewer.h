#pragma once
// Opens the help: on Windows the help file in the HTML Help viewer; under
// Wine, whose viewer shows every page blank, the same pages in the desktop's
// browser.
#include <windows.h>

#include <string>

// page: a page of the help file, or empty for its default topic. Failures
// are ignored: a missing file or viewer shows nothing.
void ShowHelp(HWND owner, const std::string& helpFilePath, const std::string& page);
