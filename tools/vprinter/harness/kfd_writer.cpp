#include <iconv.h>

#include <cstring>
#include <fstream>
#include <set>

#include "tools/vprinter/harness/kfd_writer.h"
#include "tools/vprinter/harness/subprocess.h"

namespace integration {

const std::string kIpaGothicCp932 = "IPA\x83\x53\x83\x56\x83\x62\x83\x4E";

namespace {
void Le16(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Le32(uint8_t* p, unsigned v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
} // namespace

void WriteKfd(const std::string& path, const std::string& name, const std::string& faceCp932,
              int pointSize, const std::vector<uint16_t>& codes) {
    std::vector<uint8_t> file(152 + 10 * codes.size(), 0);
    Le32(&file[0], 32);
    Le32(&file[4], 31);
    Le16(&file[8], 1);
    uint8_t* h = &file[10];
    std::memcpy(h + 4, name.data(), name.size());
    const std::string size = std::to_string(pointSize);
    std::memcpy(h + 48, size.data(), size.size());
    Le32(h + 60, unsigned(codes.size()));
    // No glyph data: the cell is 0 x 0, so each character takes its record only.
    Le32(h + 68, unsigned(10 * codes.size()));
    Le16(h + 78, 400);
    Le16(h + 84, 32);
    Le16(h + 86, 31);
    h[100] = 0x03;
    h[101] = 0x00;
    h[102] = 0x27;
    h[103] = 0x38;
    std::memcpy(h + 104, faceCp932.data(), faceCp932.size());
    Le16(h + 136, unsigned(pointSize));
    Le16(h + 138, 1);
    Le16(h + 140, 203);
    for (size_t i = 0; i < codes.size(); ++i)
        Le16(&file[152 + 10 * i], codes[i]);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

std::vector<uint16_t> Cp932Kanji(size_t count) {
    std::set<uint16_t> codes;
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == iconv_t(-1))
        return {};
    for (int lead = 0x88; lead <= 0x9F && codes.size() < count; ++lead)
        for (int trail = 0x40; trail <= 0xFC && codes.size() < count; ++trail) {
            if (trail == 0x7F)
                continue;
            char in[2] = {char(lead), char(trail)};
            char out[8];
            char* pin = in;
            char* pout = out;
            size_t inLeft = 2, outLeft = sizeof out;
            if (iconv(cd, &pin, &inLeft, &pout, &outLeft) == size_t(-1))
                continue;
            if (sizeof out - outLeft == 2)
                codes.insert(uint16_t(uint8_t(out[0]) | uint8_t(out[1]) << 8));
        }
    iconv_close(cd);
    return {codes.begin(), codes.end()};
}

std::string WinePath(const std::string& path) {
    // Z: is the root of the native file system in every Wine prefix.
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

bool WinRun(const std::string& sourceDir, const std::vector<std::string>& args) {
    std::vector<std::string> argv{sourceDir + "/scripts/winrun"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, 120000).exitCode == 0;
}

} // namespace integration
