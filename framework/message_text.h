#pragma once
// Texts of the string table.
#include <string>

// The text of string id, empty when the executable does not carry it.
std::wstring LoadText(unsigned id);
// The same with its first "%s" replaced by subject.
std::wstring LoadTextAbout(unsigned id, const std::wstring& subject);
