#pragma once
// Text between UTF-16 and a code page of the system: the ANSI code page
// unless another is named. Every conversion of the program goes through here.
#include <windows.h>

#include <optional>
#include <string>

// UTF-16 of text; bytes the code page does not define become its default
// character.
std::wstring FromCodePage(const std::string& text, UINT codePage = CP_ACP);
// text in the code page; characters it cannot hold become its default
// character ("?").
std::string ToCodePage(const std::wstring& text, UINT codePage = CP_ACP);
// The bytes text takes in the code page, as ToCodePage would write it.
size_t CodePageSize(const std::wstring& text, UINT codePage = CP_ACP);
// The same, or nothing when a character has no exact counterpart there (no
// default character, no look-alike).
std::optional<std::string> ToCodePageExactly(const std::wstring& text, UINT codePage = CP_ACP);
