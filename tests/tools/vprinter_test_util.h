#pragma once
// Blocks and frames as the tool sends them, put together byte by byte for the
// virtual printer's tests.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vprinter_test {

using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A 100-byte information block: ID digits at 0, name at 4, size text at 48,
// cell width 52, height 54, bytes per glyph 56, count 60, data size 68, all
// big-endian.
inline Bytes InfoBlock(const char* idDigits, const std::string& name, uint16_t cellWidth,
                       uint16_t cellHeight, uint32_t bytesPerGlyph, uint32_t count) {
    Bytes b(100, 0);
    b[0] = uint8_t(idDigits[0]);
    b[1] = uint8_t(idDigits[1]);
    std::memcpy(&b[4], name.data(), name.size());
    b[48] = '1';
    b[49] = '0';
    b[52] = uint8_t(cellWidth >> 8);
    b[53] = uint8_t(cellWidth);
    b[54] = uint8_t(cellHeight >> 8);
    b[55] = uint8_t(cellHeight);
    for (int i = 0; i < 4; ++i) {
        b[56 + i] = uint8_t(bytesPerGlyph >> (24 - 8 * i));
        b[60 + i] = uint8_t(count >> (24 - 8 * i));
        b[68 + i] = uint8_t((bytesPerGlyph * count) >> (24 - 8 * i));
    }
    b[78] = 0x01; // weight 400
    b[79] = 0x90;
    return b;
}

inline Bytes DownloadHeader(const Bytes& block) {
    return Cat({{0x02, 0x1B, 0x41, 0x1B, 0x46, 0x44}, block, {0x1B, 0x5A, 0x03}});
}

const Bytes kInfoRequest{0x01, 0x46, 0x47};
const Bytes kProceed{0x02, 0x30, 0x03};
const Bytes kCancel{0x02, 0x31, 0x03};
const Bytes kDeleteAll{0x1B, 0x41, 0x1B, 0x2A, 0x46, 0x1B, 0x5A};
inline Bytes DeleteEntry(char d1, char d2) {
    return {0x1B, 0x41, 0x1B, 0x46, 0x43, uint8_t(d1), uint8_t(d2), 0x1B, 0x5A};
}

// STX, the 10-byte wire record (code low byte first, the rest big-endian), the
// glyph, ETX.
inline Bytes Frame(uint16_t code, uint16_t width, uint16_t height, const Bytes& glyph) {
    return Cat({{0x02, uint8_t(code), uint8_t(code >> 8), 0x00, 0x00, uint8_t(width >> 8),
                 uint8_t(width), 0x00, 0x00, uint8_t(height >> 8), uint8_t(height)},
                glyph,
                {0x03}});
}

// Reads from a pty or socket until `count` bytes came, the other end closed
// or `ms` passed; *error gets errno when the read fails (a reset connection).
inline Bytes ReadUpTo(int fd, size_t count, int ms, int* error = nullptr) {
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0)
            continue;
        uint8_t buffer[4096];
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            if (error)
                *error = n < 0 ? errno : 0;
            break;
        }
        if (n > 0)
            got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

} // namespace vprinter_test
