#pragma once
// Texts of the string table.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// The text of string id, empty when the executable does not carry it.
std::wstring LoadText(unsigned id);
// The same with %1, %2, ... replaced by the values in order.
std::wstring LoadTextWith(unsigned id, std::initializer_list<std::wstring> values);
// The text of string id with %1, %2, ... replaced by values, which are ANSI text.
std::wstring DetailText(unsigned id, const std::vector<std::string>& values);
// A message box with text under the caption of outcomes, "実行結果"
// (IDS_RESULT_CAPTION); MessageBoxW's answer.
int ResultMessageBox(HWND owner, const std::wstring& text, UINT flags);
// The system's text for an error code, without its line break; a neutral
// "system error N" when the system has none.
std::wstring SystemErrorText(unsigned long error);
