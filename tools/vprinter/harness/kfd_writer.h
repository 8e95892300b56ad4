#pragma once
// A font data file written field by field, for programs that drive
// glyphkit-cli's download against the virtual printer.
#include <cstdint>
#include <string>
#include <vector>

namespace integration {

// A font data file of `codes` (file layout: range start and end, file type 1,
// the 142-byte header, native records), for the download command to load and
// render anew. The one-byte range is given as 32 to 31, which adds nothing.
void WriteKfd(const std::string& path, const std::string& name, const std::string& faceCp932,
              int pointSize, const std::vector<uint16_t>& codes);

// The first `count` kanji of code page 932, lead bytes from 0x88 on, as
// UTF-16 in ascending order; fewer when the system's iconv lacks CP932.
std::vector<uint16_t> Cp932Kanji(size_t count);

// "IPAゴシック" in code page 932.
extern const std::string kIpaGothicCp932;

// The Windows path of a file of the native file system, as Wine sees it.
std::string WinePath(const std::string& path);

// scripts/winrun of the source tree `sourceDir` with the arguments; true on
// exit status 0.
bool WinRun(const std::string& sourceDir, const std::vector<std::string>& args);

} // namespace integration
