#pragma once
// The pages of a compiled help file, written out as files a browser opens.
#include <string>

// Writes every file of the help file's top folder (pages, style sheet,
// contents; not its internal tables) into folder, which is made when
// missing; an older copy there is replaced. False when the help file could
// not be read or a page not written.
bool ExtractChmPages(const std::wstring& helpFile, const std::wstring& folder);
