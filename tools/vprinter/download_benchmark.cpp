// glyphkit-download-bench: downloads a registration that nearly fills the
// printer's 240 KB to the virtual printer, once paced at 115200 baud (what a
// real line allows) and once unpaced (what the tool itself costs), with
// glyphkit-cli under Wine, and prints rates and their ratio. Then the main
// window, driven from outside under Xvfb, loads the same file and downloads
// it over an entry of the same ID at the line's pace: its time per character
// against the console tool's, and its time from the answer to the overwrite
// question to the final message against the time the line needs for the
// bytes both ways.
//
//   glyphkit-download-bench [--bin DIR] [--com N] [--count N] [--size PT] [--no-window]
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fontdata/byte_order.h"
#include "tools/vprinter/harness/kfd_writer.h"
#include "tools/vprinter/harness/subprocess.h"
#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/pty_printer.h"
#include "tools/vprinter/state_file.h"
#include "tools/vprinter/wire_log.h"

using namespace vprinter;
using namespace integration;

namespace {

// The first `count` kanji of code page 932, lead bytes from 0x88 on, as UTF-16.
std::vector<uint16_t> Kanji(size_t count) {
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

struct Timed {
    double ms;
    bool rx;
    std::vector<uint8_t> bytes;
};

// The log's RX and TX lines with their times.
std::vector<Timed> ReadLog(const std::string& path) {
    std::ifstream in(path);
    std::vector<Timed> lines;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Timed t;
        std::string direction, hex;
        if (!(words >> t.ms >> direction) || (direction != "RX" && direction != "TX"))
            continue;
        t.rx = direction == "RX";
        while (words >> hex)
            t.bytes.push_back(uint8_t(std::strtoul(hex.c_str(), nullptr, 16)));
        lines.push_back(std::move(t));
    }
    return lines;
}

struct Run {
    bool ok = false;
    uint32_t bytesPerGlyph = 0; // from the information block the tool sent
    size_t characters = 0;
    size_t downloadBytes = 0; // what the tool sent, from the download start to the last frame
    double transferMs = 0;    // from the first received byte to the last ACK
    double framesMs = 0;      // from the first frame's ACK wait... to the last ACK
    double processMs = 0;
    size_t lineBytes = 0;         // every byte on the line, both ways, for the whole command
    double medianAckPeriodMs = 0; // typical time per character, free of scheduling hiccups
    // The window's run: from the answer to the overwrite question to the
    // final message, and the bytes on the line both ways meanwhile.
    double answerToMessageMs = 0;
    size_t bytesAfterQuestion = 0;
};

// The value of the script's line "what: N", -1 when there is none (the last
// one when there are several).
double ScriptValue(const std::string& out, const std::string& what) {
    double value = -1;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(what + ": ", 0) == 0)
            value = std::atof(line.c_str() + what.size() + 2);
    return value;
}

// What downloads the file through COM`com`: the console tool, or the window
// driven by its script, which loads the file, registers exactly its
// characters and answers the overwrite question with yes.
std::vector<std::string> DownloadCommand(const std::string& bin, int com, const std::string& kfd,
                                         bool window) {
    const std::string winrun = std::string(GLYPHKIT_SOURCE_DIR) + "/scripts/winrun";
    if (!window)
        return {winrun,   bin + "/glyphkit-cli.exe", "download", WinePath(kfd), "--id", "1",
                "--port", std::to_string(com)};
    return {"xvfb-run", "-a",
            "-s",       "-screen 0 1280x1024x24",
            winrun,     bin + "/glyphkit-window-script.exe",
            "port",     std::to_string(com),
            "load",     WinePath(kfd),
            "click",    "1053",
            "text",     "1052",
            "1",        "press",
            "1016",     "yes"};
}

Run Download(const std::string& dir, const std::string& bin, int com, int baud,
             const std::string& kfd, size_t count, bool window = false) {
    Run run;
    RegistrationMemory memory;
    std::string error;
    // The window asks before it overwrites: ID 1 holds a small logo.
    if (window && !ParseState("glyphkit-vprinter-state 1\nlogo 1 8 8 OLD\n", memory, &error))
        std::fprintf(stderr, "bench: %s\n", error.c_str());
    FaultPlan faults;
    WireLog log;
    const std::string logPath = dir + "/wire-" + std::to_string(baud) + ".log";
    std::remove(logPath.c_str());
    log.Open(logPath);
    PrinterEngine engine(memory, faults);
    LineOptions line;
    line.baud = baud;
    PtyPrinter printer(engine, log, line);
    if (!printer.Open(dir + "/port", &error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return run;
    }
    std::atomic<bool> stop{false};
    std::thread thread([&] { printer.Run([&] { return !stop; }); });
    WinRun(GLYPHKIT_SOURCE_DIR, {"--map-com", std::to_string(com), dir + "/port"});
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r = RunProcess(DownloadCommand(bin, com, kfd, window), 600000);
    run.processMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    stop = true;
    thread.join();
    WinRun(GLYPHKIT_SOURCE_DIR, {"--unmap-com", std::to_string(com)});
    const auto lines = ReadLog(logPath);
    std::vector<uint8_t> received;
    for (const auto& l : lines)
        if (l.rx)
            received.insert(received.end(), l.bytes.begin(), l.bytes.end());
    // Download start (6 bytes), then the block: bytes per glyph at 56.
    if (received.size() >= 6 + 60)
        run.bytesPerGlyph = ReadBE32(&received[6 + 56]);
    if (r.exitCode != 0) {
        std::fprintf(stderr, "bench: %s download ended with %d\n%s%s\n",
                     window ? "the window's" : "glyphkit-cli", r.exitCode, r.out.c_str(),
                     r.err.c_str());
        return run;
    }
    if (window) {
        // The answer comes after the printer's reply to the download
        // header; everything on the line after that reply is the rest.
        run.answerToMessageMs = ScriptValue(r.out, "at-box") - ScriptValue(r.out, "at-answer");
        bool replied = false;
        for (const auto& l : lines) {
            if (replied)
                run.bytesAfterQuestion += l.bytes.size();
            else if (!l.rx && !received.empty())
                replied = true;
        }
    }
    // The transfer runs from the first received byte to the ACK of the last
    // character; the bytes are all the tool sent meanwhile.
    double first = -1, firstAck = -1, lastAck = -1;
    std::vector<double> ackTimes;
    size_t acks = 0, sent = 0, sentAtLastAck = 0;
    for (const auto& l : lines) {
        run.lineBytes += l.bytes.size();
        if (l.rx) {
            if (first < 0)
                first = l.ms;
            sent += l.bytes.size();
            continue;
        }
        for (uint8_t b : l.bytes)
            if (b == 0x06 && acks < count) {
                ++acks;
                if (firstAck < 0)
                    firstAck = l.ms;
                lastAck = l.ms;
                ackTimes.push_back(l.ms);
                sentAtLastAck = sent;
            }
    }
    run.characters = acks;
    run.downloadBytes = sentAtLastAck;
    run.transferMs = lastAck - first;
    run.framesMs = lastAck - firstAck;
    run.ok = acks == count && run.transferMs > 0;
    std::vector<double> periods;
    for (size_t i = 1; i < ackTimes.size(); ++i)
        periods.push_back(ackTimes[i] - ackTimes[i - 1]);
    if (!periods.empty()) {
        std::nth_element(periods.begin(), periods.begin() + long(periods.size() / 2),
                         periods.end());
        run.medianAckPeriodMs = periods[periods.size() / 2];
    }
    return run;
}

} // namespace

int main(int argc, char** argv) {
    std::string bin = GLYPHKIT_WINDOWS_BIN;
    int com = 19, size = 10;
    size_t count = 1500;
    bool window = true;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i], value = i + 1 < argc ? argv[i + 1] : "";
        if (name == "--bin")
            bin = value;
        else if (name == "--com")
            com = std::atoi(value.c_str());
        else if (name == "--count")
            count = size_t(std::atol(value.c_str()));
        else if (name == "--size")
            size = std::atoi(value.c_str());
        else if (name == "--no-window") {
            window = false;
            --i; // takes no value
        } else {
            std::fprintf(stderr, "usage: glyphkit-download-bench [--bin DIR] [--com N] "
                                 "[--count N] [--size PT] [--no-window]\n");
            return 2;
        }
    }
    char pattern[] = "/tmp/glyphkit-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string dir = pattern;
    const std::string kfd = dir + "/bench.kfd";
    auto writeKfd = [&] {
        const std::vector<uint16_t> codes = Kanji(count);
        if (codes.size() != count) {
            std::fprintf(stderr, "bench: only %zu kanji available\n", codes.size());
            return false;
        }
        WriteKfd(kfd, "BENCH", kIpaGothicCp932, size, codes);
        return true;
    };
    if (!writeKfd())
        return 1;

    constexpr int kBaud = 115200;
    const double lineRate = kBaud / 10.0;
    Run paced = Download(dir, bin, com, kBaud, kfd, count);
    if (!paced.ok && paced.bytesPerGlyph > 0 &&
        uint64_t(count) * (paced.bytesPerGlyph + 10) > kMemoryCapacity) {
        // The cell came out larger than guessed: take what fills 99 % of the memory.
        count = size_t(kMemoryCapacity * 0.99 / (paced.bytesPerGlyph + 10));
        std::printf("%u bytes a glyph: %zu characters fill the 240 KB memory to 99 %%\n",
                    paced.bytesPerGlyph, count);
        if (!writeKfd())
            return 1;
        paced = Download(dir, bin, com, kBaud, kfd, count);
    }
    const Run unpaced = Download(dir, bin, com, 0, kfd, count);
    int status = 0;
    if (paced.ok) {
        const double rate = paced.downloadBytes / (paced.transferMs / 1000);
        std::printf("paced at %d baud: %zu characters, %zu bytes in %.2f s\n", kBaud,
                    paced.characters, paced.downloadBytes, paced.transferMs / 1000);
        std::printf("  achieved %.0f bytes/s, line rate %.0f bytes/s (8N1), ratio %.3f "
                    "(target >= 0.98)\n",
                    rate, lineRate, rate / lineRate);
        // One character on the line: its frame (12 + bytes per glyph) and the ACK.
        const double ideal = (12.0 + paced.bytesPerGlyph + 1) / lineRate * 1000;
        std::printf("  median per character %.3f ms, line time %.3f ms, ratio %.3f\n",
                    paced.medianAckPeriodMs, ideal, ideal / paced.medianAckPeriodMs);
        // The whole command against the time its bytes, both ways, need on
        // the line: what start-up, rendering and every turnaround add.
        const double wireMs = paced.lineBytes / lineRate * 1000;
        std::printf("  whole command under Wine: %.2f s, wire time %.2f s (%zu bytes both ways), "
                    "ratio %.3f (target <= 1.03)\n",
                    paced.processMs / 1000, wireMs / 1000, paced.lineBytes,
                    paced.processMs / wireMs);
    } else {
        std::printf("paced run failed\n");
        status = 1;
    }
    if (unpaced.ok) {
        std::printf("unpaced: %zu characters, %zu bytes in %.2f s: %.3f ms per character "
                    "(%.0f bytes/s)\n",
                    unpaced.characters, unpaced.downloadBytes, unpaced.transferMs / 1000,
                    unpaced.framesMs /
                        double(unpaced.characters - 1 > 0 ? unpaced.characters - 1 : 1),
                    unpaced.downloadBytes / (unpaced.transferMs / 1000));
        std::printf("  whole command under Wine: %.2f s\n", unpaced.processMs / 1000);
    } else {
        std::printf("unpaced run failed\n");
        status = 1;
    }
    if (window && paced.ok) {
        const Run shown = Download(dir, bin, com, kBaud, kfd, count, true);
        if (shown.ok && shown.answerToMessageMs > 0) {
            const double perCharacter = shown.medianAckPeriodMs / paced.medianAckPeriodMs;
            const double wireMs = shown.bytesAfterQuestion / lineRate * 1000;
            std::printf("the window, paced at %d baud: %zu characters\n", kBaud, shown.characters);
            std::printf("  median per character %.3f ms, the console tool's %.3f ms, ratio %.4f "
                        "(target <= 1.005)\n",
                        shown.medianAckPeriodMs, paced.medianAckPeriodMs, perCharacter);
            std::printf("  answer to final message %.2f s, wire time %.2f s (%zu bytes both "
                        "ways), ratio %.3f (target <= 1.02)\n",
                        shown.answerToMessageMs / 1000, wireMs / 1000, shown.bytesAfterQuestion,
                        shown.answerToMessageMs / wireMs);
        } else {
            std::printf("window run failed\n");
            status = 1;
        }
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return status;
}
