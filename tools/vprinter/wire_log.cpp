#include "tools/vprinter/wire_log.h"

#include <cstdlib>
#include <sstream>

namespace vprinter {

WireLog::~WireLog() {
    if (file_)
        std::fclose(file_);
}

bool WireLog::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_)
        std::fclose(file_);
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

void WireLog::Bytes(const char* direction, const uint8_t* data, size_t size) {
    std::string text = direction;
    char hex[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", data[i]);
        text += hex;
    }
    Line(text);
}

void WireLog::Note(const std::string& text) {
    Line("-- " + text);
}

void WireLog::Line(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!file_)
        return;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
            .count();
    std::fprintf(file_, "%12.3f %s\n", ms, text.c_str());
    std::fflush(file_);
}

WireTranscript ParseWireLog(const std::string& text) {
    WireTranscript transcript;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string time, direction;
        if (!(words >> time >> direction))
            continue;
        if (direction == "--") {
            std::string note;
            std::getline(words >> std::ws, note);
            transcript.notes.push_back(note);
            continue;
        }
        auto* target = direction == "RX"   ? &transcript.received
                       : direction == "TX" ? &transcript.sent
                                           : nullptr;
        if (!target)
            continue;
        std::string hex;
        while (words >> hex)
            target->push_back(uint8_t(std::strtoul(hex.c_str(), nullptr, 16)));
    }
    return transcript;
}

} // namespace vprinter
