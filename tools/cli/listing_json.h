#pragma once
// A printer's registered entries as JSON, as list --json and the upkeep
// commands print them.
#include <string>
#include <vector>

#include "printer/font_pt.h"

// [{"id":7,"name":"LOGO","kind":"logo","characters":1,"bytes":32,"size":32},...]:
// bytes the glyph data (size, the same, for scripts of earlier versions).
std::wstring EntriesJson(const std::vector<CFontPT>& records);
