#pragma once
// How glyphkit-cli names a file it could not open, read or write.
#include <cstdint>
#include <string>

// "<path>: <the system's text for systemError>"; the path alone when the
// system gave no error code.
std::wstring FileProblem(const std::wstring& path, uint32_t systemError);
