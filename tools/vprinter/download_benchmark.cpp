// glyphkit-download-bench: downloads a registration that nearly fills the
// printer's 240 KB to the virtual printer, once paced at 115200 baud (what a
// real line allows) and once unpaced (what the tool itself costs), with
// glyphkit-cli under Wine, and prints rates and their ratio. Then the main
// window, driven from outside under Xvfb, loads the same file and downloads
// it over an entry of the same ID at the line's pace: its time per character
// against the console tool's, and its time from the answer to the overwrite
// question to the final message against the time the line needs for the
// bytes both ways. Then it provisions the same registration as a plan on 1,
// 2 and 4 paced printers at once (COM N to N+3) and prints how long several
// ports take against one. On the network: the unpaced download per character
// over TCP on loopback against the pty; the plan on 16 and 64 paced printers
// at once against one; --converge on 16 printers that hold the plan already;
// list on 64 printers at once against one; the batch window's run of the plan
// on 16 printers against the console's; the window's 中止 during a paced
// download, from the click to the message that says what the printer holds.
//
//   glyphkit-download-bench [--bin DIR] [--com N] [--count N] [--size PT]
//       [--only SECTION[,SECTION...]]   download window provision tcp fleet converge
//                                       inventory batch stop
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
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
#include "tools/vprinter/tcp_printer.h"
#include "tools/vprinter/wire_log.h"

using namespace vprinter;
using namespace integration;

namespace {

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

// One virtual printer of the benchmark, on a thread of its own: on a pty that
// COM`com` is mapped to, or with com 0 on a TCP port of 127.0.0.1.
struct BenchPrinter {
    RegistrationMemory memory;
    FaultPlan faults;
    WireLog log;
    std::string logPath;
    std::unique_ptr<PrinterEngine> engine;
    std::unique_ptr<PtyPrinter> pty;
    std::unique_ptr<TcpPrinter> tcp;
    std::atomic<bool> stop{false};
    std::thread thread;
    int com = 0;
    std::string port; // as --port names it

    // name: the log's and the pty link's, within dir.
    bool Start(const std::string& dir, const std::string& name, int comNumber, int baud) {
        com = comNumber;
        logPath = dir + "/wire-" + name + ".log";
        std::remove(logPath.c_str());
        log.Open(logPath);
        engine = std::make_unique<PrinterEngine>(memory, faults);
        engine->onNote = [this](const std::string& text) { log.Note(text); };
        LineOptions line;
        line.baud = baud;
        std::string error;
        if (com == 0) {
            TcpOptions options;
            options.line = line;
            tcp = std::make_unique<TcpPrinter>(*engine, log, options);
            if (!tcp->Listen("127.0.0.1", 0, &error)) {
                std::fprintf(stderr, "bench: %s\n", error.c_str());
                return false;
            }
            port = tcp->Address();
            thread = std::thread([this] { tcp->Run([this] { return !stop; }); });
            return true;
        }
        pty = std::make_unique<PtyPrinter>(*engine, log, line);
        const std::string link = dir + "/port-" + name;
        if (!pty->Open(link, &error)) {
            std::fprintf(stderr, "bench: %s\n", error.c_str());
            return false;
        }
        port = std::to_string(com);
        thread = std::thread([this] { pty->Run([this] { return !stop; }); });
        WinRun(GLYPHKIT_SOURCE_DIR, {"--map-com", port, link});
        return true;
    }
    void Stop() {
        stop = true;
        if (tcp)
            tcp->Stop();
        if (thread.joinable())
            thread.join();
        if (pty)
            WinRun(GLYPHKIT_SOURCE_DIR, {"--unmap-com", port});
    }
    ~BenchPrinter() { Stop(); }
};

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
    // Stopped by 中止: from the click to the message, which follows the
    // listing of the printer.
    double stopToMessageMs = 0;
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

// What downloads the file to the printer at port: the console tool, or the window
// driven by its script, which loads the file, registers exactly its
// characters and answers the overwrite question with yes.
// stop: the window's 中止 once two characters have gone.
std::vector<std::string> DownloadCommand(const std::string& bin, const std::string& port,
                                         const std::string& kfd, bool window, bool stop = false) {
    const std::string winrun = std::string(GLYPHKIT_SOURCE_DIR) + "/scripts/winrun";
    if (!window)
        return {winrun, bin + "/glyphkit-cli.exe", "download", WinePath(kfd), "--id", "1", "--port",
                port};
    return {"xvfb-run",
            "-a",
            "-s",
            "-screen 0 1280x1024x24",
            winrun,
            bin + "/glyphkit-window-script.exe",
            "port",
            port,
            "load",
            WinePath(kfd),
            "click",
            "1053",
            "text",
            "1052",
            "1",
            stop ? "press-during" : "press",
            stop ? "stop" : "1016",
            stop ? "1016" : "yes",
            "yes"};
}

// network: on a printer on the network instead of COM`com`.
Run Download(const std::string& dir, const std::string& bin, int com, int baud,
             const std::string& kfd, size_t count, bool window = false, bool network = false,
             bool stop = false) {
    Run run;
    BenchPrinter printer;
    std::string error;
    // The window asks before it overwrites: ID 1 holds a small logo.
    if (window &&
        !ParseState("glyphkit-vprinter-state 1\nlogo 1 8 8 OLD\n", printer.memory, &error))
        std::fprintf(stderr, "bench: %s\n", error.c_str());
    if (!printer.Start(dir, std::to_string(baud), network ? 0 : com, baud))
        return run;
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r =
        RunProcess(DownloadCommand(bin, printer.port, kfd, window, stop), 600000);
    run.processMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    printer.Stop();
    const std::string logPath = printer.logPath;
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
    if (stop) {
        run.stopToMessageMs = ScriptValue(r.out, "at-box") - ScriptValue(r.out, "at-stop");
        run.ok = run.stopToMessageMs >= 0 &&
                 r.out.find("box: ダウンロードを中止しました。") != std::string::npos;
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

// Prints the single download's figures; 1 when a run failed.
int Report(const Run& paced, const Run& unpaced, double lineRate) {
    int status = 0;
    if (paced.ok) {
        const double rate = paced.downloadBytes / (paced.transferMs / 1000);
        std::printf("paced at %.0f baud: %zu characters, %zu bytes in %.2f s\n", lineRate * 10,
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
    return status;
}

// Prints the window's figures against the console tool's paced run; 1 when
// it failed.
int ReportWindow(const Run& shown, const Run& paced, double lineRate) {
    if (!shown.ok || shown.answerToMessageMs <= 0) {
        std::printf("window run failed\n");
        return 1;
    }
    const double wireMs = shown.bytesAfterQuestion / lineRate * 1000;
    std::printf("the window, paced at the same rate: %zu characters\n", shown.characters);
    std::printf("  median per character %.3f ms, the console tool's %.3f ms, ratio %.4f "
                "(target <= 1.005)\n",
                shown.medianAckPeriodMs, paced.medianAckPeriodMs,
                shown.medianAckPeriodMs / paced.medianAckPeriodMs);
    std::printf("  answer to final message %.2f s, wire time %.2f s (%zu bytes both ways), "
                "ratio %.3f (target <= 1.02)\n",
                shown.answerToMessageMs / 1000, wireMs / 1000, shown.bytesAfterQuestion,
                shown.answerToMessageMs / wireMs);
    return 0;
}

// The provisioning plan on paced printers, several at once.
struct PortsRun {
    bool ok = false;
    double processMs = 0;
    double slowestTransferMs = 0; // the printer that took longest, first byte to last ACK
};

using Printers = std::vector<std::unique_ptr<BenchPrinter>>;

// ports paced printers: on COM firstCom on, or with firstCom 0 on the network.
Printers StartPrinters(const std::string& dir, int firstCom, int ports) {
    Printers printers;
    for (int i = 0; i < ports; ++i) {
        printers.push_back(std::make_unique<BenchPrinter>());
        const int com = firstCom == 0 ? 0 : firstCom + i;
        if (!printers.back()->Start(dir, (com ? "com" : "net") + std::to_string(com ? com : i), com,
                                    115200))
            return {};
    }
    return printers;
}

// The printer that took longest, from its first byte to the ACK of its
// count-th character; *ok false unless every printer acknowledged count.
double SlowestTransfer(const Printers& printers, size_t count, bool* ok) {
    double slowest = 0;
    for (const auto& printer : printers) {
        double first = -1, lastAck = -1;
        size_t acks = 0;
        for (const auto& l : ReadLog(printer->logPath)) {
            if (l.rx && first < 0)
                first = l.ms;
            if (!l.rx)
                for (uint8_t b : l.bytes)
                    if (b == 0x06 && acks < count && ++acks == count)
                        lastAck = l.ms;
        }
        *ok = *ok && acks == count;
        slowest = std::max(slowest, lastAck - first);
    }
    return slowest;
}

// glyphkit-cli provision PLAN on every printer, with more options; the
// printers go on running.
PortsRun Provision(const Printers& printers, const std::string& bin, const std::string& plan,
                   size_t count, const std::vector<std::string>& more) {
    PortsRun run;
    std::string portList;
    for (const auto& printer : printers)
        portList += (portList.empty() ? "" : ",") + printer->port;
    std::vector<std::string> command{std::string(GLYPHKIT_SOURCE_DIR) + "/scripts/winrun",
                                     bin + "/glyphkit-cli.exe",
                                     "provision",
                                     WinePath(plan),
                                     "--port",
                                     portList,
                                     "--overwrite",
                                     "yes"};
    command.insert(command.end(), more.begin(), more.end());
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r = RunProcess(command, 600000);
    run.processMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.ok = r.exitCode == 0 && !printers.empty();
    if (!run.ok)
        std::fprintf(stderr, "bench: glyphkit-cli provision ended with %d\n%s%s\n", r.exitCode,
                     r.out.c_str(), r.err.c_str());
    run.slowestTransferMs = SlowestTransfer(printers, count, &run.ok);
    return run;
}

// What a printer's log shows so far: connections, listings asked for and
// downloads begun.
struct Exchanges {
    size_t connections = 0, listings = 0, downloads = 0;
};

Exchanges ExchangesIn(const std::string& logPath) {
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    const WireTranscript t = ParseWireLog(text.str());
    Exchanges e;
    for (const std::string& note : t.notes) {
        e.connections += note.rfind("connection from", 0) == 0;
        e.downloads += note.rfind("download header", 0) == 0;
    }
    const uint8_t request[] = {0x01, 'F', 'G'};
    for (auto at = t.received.begin();
         (at = std::search(at, t.received.end(), request, request + 3)) != t.received.end(); ++at)
        ++e.listings;
    return e;
}

// The plan on paced printers, each number of them all at once, against one:
// on COM ports from firstCom on, or with firstCom 0 on the network. targets:
// the ratio each number should stay within.
int ReportAtOnce(const std::string& dir, const std::string& bin, int firstCom,
                 const std::string& plan, size_t count,
                 const std::vector<std::pair<int, const char*>>& targets) {
    int status = 0;
    std::printf("provision%s, paced at 115200 baud, %zu characters on every printer, all at "
                "once:\n",
                firstCom ? " on COM ports" : " on the network", count);
    double oneMs = 0;
    for (const auto& [printers, target] : targets) {
        const PortsRun run = Provision(StartPrinters(dir, firstCom, printers), bin, plan, count,
                                       {"--jobs", std::to_string(printers)});
        if (!run.ok) {
            std::printf("  %2d printer(s): failed\n", printers);
            status = 1;
            continue;
        }
        if (printers == 1)
            oneMs = run.processMs;
        std::printf("  %2d printer%s: %.2f s, slowest transfer %.2f s", printers,
                    printers == 1 ? " " : "s", run.processMs / 1000, run.slowestTransferMs / 1000);
        if (printers > 1 && oneMs > 0)
            std::printf(", ratio to one %.3f", run.processMs / oneMs);
        if (printers > 1 && *target)
            std::printf(" (target <= %s)", target);
        std::printf("\n");
    }
    return status;
}

// The unpaced download per character over TCP on loopback against the pty.
int ReportTcp(const std::string& dir, const std::string& bin, int com, const std::string& kfd,
              size_t count) {
    const Run pty = Download(dir, bin, com, 0, kfd, count);
    const Run tcp = Download(dir, bin, com, 0, kfd, count, false, true);
    if (!pty.ok || !tcp.ok) {
        std::printf("tcp against pty: %s run failed\n", pty.ok ? "tcp" : "pty");
        return 1;
    }
    const auto perCharacter = [](const Run& run) {
        return run.framesMs / double(run.characters > 1 ? run.characters - 1 : 1);
    };
    std::printf("unpaced, %zu characters, per character: pty %.3f ms (median %.3f), tcp %.3f ms "
                "(median %.3f), ratio tcp/pty %.3f (target <= 1.0)\n",
                count, perCharacter(pty), pty.medianAckPeriodMs, perCharacter(tcp),
                tcp.medianAckPeriodMs, perCharacter(tcp) / perCharacter(pty));
    std::printf("  whole command under Wine: pty %.2f s, tcp %.2f s\n", pty.processMs / 1000,
                tcp.processMs / 1000);
    return 0;
}

// --converge on 16 printers that hold the plan already.
int ReportConverge(const std::string& dir, const std::string& bin, const std::string& plan,
                   size_t count) {
    const Printers printers = StartPrinters(dir, 0, 16);
    if (!Provision(printers, bin, plan, count, {}).ok) {
        std::printf("converge: the first run failed\n");
        return 1;
    }
    std::vector<Exchanges> before;
    for (const auto& printer : printers)
        before.push_back(ExchangesIn(printer->logPath));
    // Nothing is sent, so no character is acknowledged: count 0.
    const PortsRun run = Provision(printers, bin, plan, 0, {"--converge"});
    size_t connections = 0, listings = 0, downloads = 0;
    for (size_t i = 0; i < printers.size(); ++i) {
        const Exchanges after = ExchangesIn(printers[i]->logPath);
        connections += after.connections - before[i].connections;
        listings += after.listings - before[i].listings;
        downloads += after.downloads - before[i].downloads;
    }
    std::printf("converge on 16 printers holding the plan: %s, %.2f s in all (target < 2 s); "
                "%zu connections, %zu listings, %zu downloads (target 16, 16, 0)\n",
                run.ok ? "ok" : "failed", run.processMs / 1000, connections, listings, downloads);
    return run.ok && downloads == 0 ? 0 : 1;
}

// list on 64 paced printers that hold the plan, all at once, against one.
int ReportInventory(const std::string& dir, const std::string& bin, const std::string& plan,
                    size_t count) {
    const Printers printers = StartPrinters(dir, 0, 64);
    if (!Provision(printers, bin, plan, count, {"--jobs", "64"}).ok) {
        std::printf("inventory: storing the plan failed\n");
        return 1;
    }
    const auto list = [&](size_t n) {
        std::string ports;
        for (size_t i = 0; i < n; ++i)
            ports += (ports.empty() ? "" : ",") + printers[i]->port;
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult r = RunProcess({std::string(GLYPHKIT_SOURCE_DIR) + "/scripts/winrun",
                                            bin + "/glyphkit-cli.exe", "list", "--port", ports,
                                            "--jobs", "64", "--json"},
                                           600000);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (r.exitCode != 0) {
            // The printers that failed, with why.
            std::istringstream lines(r.out);
            for (std::string line; std::getline(lines, line);)
                if (line.find("\"status\":\"ok\"") == std::string::npos)
                    std::fprintf(stderr, "bench: %s\n", line.substr(0, 400).c_str());
        }
        return r.exitCode == 0 ? ms : -1.0;
    };
    const double one = list(1), all = list(64);
    if (one <= 0 || all <= 0) {
        std::printf("inventory: a listing failed\n");
        return 1;
    }
    std::printf("list, paced at 115200 baud, %zu entries' records on every printer: one %.2f s, "
                "64 at once %.2f s, ratio %.3f (target <= 1.5)\n",
                count, one / 1000, all / 1000, all / one);
    return 0;
}

// The batch window's run of the plan on 16 paced printers against the
// console's on 16 others: the slowest printer's transfer of each, and the
// window's time from 実行 to the end it shows against the console's whole
// command.
int ReportBatch(const std::string& dir, const std::string& bin, const std::string& plan,
                size_t count) {
    const PortsRun console =
        Provision(StartPrinters(dir, 0, 16), bin, plan, count, {"--jobs", "16"});
    const Printers printers = StartPrinters(dir, 0, 16);
    const std::string list = dir + "/printers.txt";
    {
        std::ofstream out(list);
        for (const auto& printer : printers)
            out << printer->port << "\n";
    }
    const ProcessResult r = RunProcess({"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24",
                                        std::string(GLYPHKIT_SOURCE_DIR) + "/scripts/winrun",
                                        bin + "/glyphkit-batch-script.exe", "plan", WinePath(plan),
                                        "printers", WinePath(list), "option", "1214", "run"},
                                       600000);
    bool ok = r.exitCode == 0 && console.ok;
    const double slowest = SlowestTransfer(printers, count, &ok);
    const double runMs = ScriptValue(r.out, "run-ms");
    if (!ok) {
        std::printf("batch window on 16 printers: failed\n");
        std::fprintf(stderr, "bench: %s%s\n", r.out.c_str(), r.err.c_str());
        return 1;
    }
    std::printf("batch window against the console, 16 printers on the network paced at 115200 "
                "baud, %zu characters each: slowest transfer window %.2f s, console %.2f s, "
                "ratio %.3f (target <= 1.05); window from 実行 to its end %.2f s, console's "
                "whole command %.2f s, ratio %.3f\n",
                count, slowest / 1000, console.slowestTransferMs / 1000,
                slowest / console.slowestTransferMs, runMs / 1000, console.processMs / 1000,
                runMs / console.processMs);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string bin = GLYPHKIT_WINDOWS_BIN;
    int com = 17, size = 10;
    const std::set<std::string> sections{"download", "window", "provision", "inventory", "batch",
                                         "tcp",      "fleet",  "converge",  "stop"};
    std::set<std::string> only; // empty: every section
    size_t count = 1500;
    bool usage = false;
    for (int i = 1; i + 1 < argc && !usage; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--bin") {
            bin = value;
        } else if (name == "--com") {
            com = std::atoi(value.c_str());
        } else if (name == "--count") {
            count = size_t(std::atol(value.c_str()));
        } else if (name == "--size") {
            size = std::atoi(value.c_str());
        } else if (name == "--only") {
            std::istringstream list(value);
            for (std::string section; std::getline(list, section, ',');) {
                usage = usage || !sections.count(section);
                only.insert(section);
            }
        } else {
            usage = true;
        }
    }
    if (usage || argc % 2 == 0) {
        std::fprintf(stderr, "usage: glyphkit-download-bench [--bin DIR] [--com N] [--count N] "
                             "[--size PT] [--only SECTION[,SECTION...]]\n"
                             "SECTION: download, window, provision, tcp, fleet, converge, "
                             "inventory, batch, stop\n");
        return 2;
    }
    const auto runs = [&](const char* section) { return only.empty() || only.count(section); };
    char pattern[] = "/tmp/glyphkit-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string dir = pattern;
    const std::string kfd = dir + "/bench.kfd";
    auto writeKfd = [&] {
        const std::vector<uint16_t> codes = Cp932Kanji(count);
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
    // A run that the printer refused for want of memory tells the bytes per
    // glyph: the count is then cut to what fills 99 % of the memory.
    auto fitCount = [&](const Run& run) {
        if (run.ok || run.bytesPerGlyph == 0 ||
            uint64_t(count) * (run.bytesPerGlyph + 10) <= kMemoryCapacity)
            return false;
        count = size_t(kMemoryCapacity * 0.99 / (run.bytesPerGlyph + 10));
        std::printf("%u bytes a glyph: %zu characters fill the 240 KB memory to 99 %%\n",
                    run.bytesPerGlyph, count);
        return writeKfd();
    };
    int status = 0;
    if (runs("download") || runs("window")) {
        Run paced = Download(dir, bin, com, kBaud, kfd, count);
        if (fitCount(paced))
            paced = Download(dir, bin, com, kBaud, kfd, count);
        if (runs("download"))
            status = Report(paced, Download(dir, bin, com, 0, kfd, count), lineRate);
        if (runs("window") && paced.ok)
            status |=
                ReportWindow(Download(dir, bin, com, kBaud, kfd, count, true), paced, lineRate);
    } else {
        fitCount(Download(dir, bin, com, 0, kfd, count));
    }
    const std::string plan = dir + "/plan.txt";
    std::ofstream(plan) << "1 bench.kfd\n";
    if (runs("provision"))
        status |= ReportAtOnce(dir, bin, com, plan, count, {{1, ""}, {2, ""}, {4, "1.10"}});
    if (runs("tcp"))
        status |= ReportTcp(dir, bin, com, kfd, count);
    if (runs("fleet"))
        status |= ReportAtOnce(dir, bin, 0, plan, count, {{1, ""}, {16, "1.15"}, {64, "1.3"}});
    if (runs("converge"))
        status |= ReportConverge(dir, bin, plan, count);
    if (runs("inventory"))
        status |= ReportInventory(dir, bin, plan, count);
    if (runs("batch"))
        status |= ReportBatch(dir, bin, plan, count);
    if (runs("stop")) {
        const Run stopped = Download(dir, bin, com, kBaud, kfd, count, true, false, true);
        if (stopped.ok)
            std::printf("the window's 中止 during a download paced at 115200 baud: from the click "
                        "to its message %.0f ms (target < 1000 ms), the printer listed meanwhile\n",
                        stopped.stopToMessageMs);
        else
            std::printf("the window's 中止: failed\n");
        status |= stopped.ok ? 0 : 1;
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return status;
}
