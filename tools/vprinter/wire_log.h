#pragma once
// The log of everything on the line, one line per piece, flushed at once so a
// test can read it while the printer runs:
//
//      12.345 RX 01 46 47          bytes the printer received
//      12.350 TX 02 41 30 ... 03   bytes the printer sent
//      12.351 -- text              what the printer made of it
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace vprinter {

class WireLog {
public:
    WireLog() = default;
    ~WireLog();
    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;

    // Appends to the file (created when missing); false when it cannot be opened.
    bool Open(const std::string& path);
    void Received(const uint8_t* data, size_t size) { Bytes("RX", data, size); }
    void Sent(const uint8_t* data, size_t size) { Bytes("TX", data, size); }
    void Note(const std::string& text);

private:
    void Bytes(const char* direction, const uint8_t* data, size_t size);
    void Line(const std::string& text);

    std::FILE* file_ = nullptr;
    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// What a log says: all received bytes in order, all sent bytes, the notes.
struct WireTranscript {
    std::vector<uint8_t> received;
    std::vector<uint8_t> sent;
    std::vector<std::string> notes;
};
WireTranscript ParseWireLog(const std::string& text);

} // namespace vprinter
