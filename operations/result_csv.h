#pragma once
// A table as CSV that spreadsheet programs open in Japanese: UTF-8 with a
// byte order mark, fields quoted where they must be, CRLF line ends.
#include <string>
#include <vector>

using CsvRow = std::vector<std::string>; // UTF-8 fields

std::string CsvText(const std::vector<CsvRow>& rows);
