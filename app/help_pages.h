#pragma once
// Which page of the help tells of a window of the program. Portable, so it
// is tested natively.
#include <string>

// The help file's default topic: its contents.
extern const char kHelpContentsPage[];

// The page of the window with this template or resource ID; empty when the
// help has none of its own, and the contents stand for it.
std::string HelpPageOf(int windowId);

// What HtmlHelp opens for a page of the help file at helpFilePath: the file
// itself (its default topic) for no page, "FILE::/PAGE" otherwise.
std::string HelpTopicOf(const std::string& helpFilePath, const std::string& page);
