#pragma once
// Pieces of the JSON that glyphkit-cli writes with --json: one object a line,
// written out as UTF-8 like all its output.
#include <cstdint>
#include <string>
#include <vector>

// text as a JSON string, quoted and escaped; characters beyond ASCII stay
// as they are.
std::wstring JsonString(const std::wstring& text);
// [1,2,5]
std::wstring JsonNumbers(const std::vector<uint64_t>& numbers);
