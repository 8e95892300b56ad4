#pragma once
// Helpers for the report list views, named by what they act on.
#include <windows.h>

#include <string>
#include <vector>

// Columns from bar-separated titles ("ID|名称|...") with widths in dialog
// units across.
void ListViewSetColumns(HWND list, const std::wstring& titles, const std::vector<int>& widths);
// Sets row's texts, adding rows up to it as needed.
void ListViewSetRow(HWND list, int row, const std::vector<std::wstring>& texts);
// Removes the rows from count on.
void ListViewTruncate(HWND list, int count);
// The selected rows, ascending.
std::vector<int> ListViewSelected(HWND list);
