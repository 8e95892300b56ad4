#include "tools/vprinter/command_line.h"

#include <cstdlib>

namespace vprinter {

namespace {

const char* const kServeOptions[] = {"link",
                                     "tcp",
                                     "state",
                                     "save",
                                     "log",
                                     "baud",
                                     "reply-delay",
                                     "silent",
                                     "silent-after-proceed",
                                     "wrong-ack",
                                     "drop-reply",
                                     "split-reply",
                                     "abandon-ms",
                                     "drop-connection-at",
                                     "accept-delay",
                                     "not-printer",
                                     "seed",
                                     "stream-byte"};

// What only a printer does, refused with --not-printer.
const char* const kPrinterOnlyOptions[] = {"state",
                                           "save",
                                           "baud",
                                           "abandon-ms",
                                           "reply-delay",
                                           "silent",
                                           "silent-after-proceed",
                                           "wrong-ack",
                                           "drop-reply",
                                           "split-reply",
                                           "drop-connection-at"};

bool ParseNotPrinter(const Options& o, TcpOptions& tcp, std::string& error) {
    if (!o.count("not-printer")) {
        if (o.count("seed") || o.count("stream-byte")) {
            error = "--seed and --stream-byte need --not-printer";
            return false;
        }
        return true;
    }
    NonPrinterOptions peer;
    if (!ParseNonPrinterKind(o.at("not-printer"), peer.kind)) {
        error = "--not-printer wants http, random, stream, unknown-code or echo";
        return false;
    }
    if (!o.count("tcp")) {
        error = "--not-printer needs --tcp";
        return false;
    }
    for (const char* k : kPrinterOnlyOptions) {
        if (o.count(k)) {
            error = std::string("--not-printer plays no printer: it excludes --") + k;
            return false;
        }
    }
    if (o.count("seed")) {
        int seed = 0;
        if (peer.kind != NonPrinterKind::Random || !ToInt(o.at("seed"), seed) || seed < 0) {
            error = "--seed wants a number from 0, with --not-printer random";
            return false;
        }
        peer.seed = uint32_t(seed);
    }
    if (o.count("stream-byte")) {
        int byte = 0;
        if (peer.kind != NonPrinterKind::Stream || !ToInt(o.at("stream-byte"), byte, 16) ||
            byte < 0 || byte > 255) {
            error = "--stream-byte wants HEX from 00 to FF, with --not-printer stream";
            return false;
        }
        peer.streamByte = uint8_t(byte);
    }
    tcp.notPrinter = peer;
    return true;
}

} // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            error = "unexpected argument " + arg;
            return false;
        }
        const std::string name = arg.substr(2);
        if (name == "not-printer" && options.count(name)) {
            error = "--not-printer is given once: its kinds exclude each other";
            return false;
        }
        if (name == "silent-after-proceed" || name == "silent") {
            options[name] = "1";
        } else if (i + 1 < argc) {
            options[name] = argv[++i];
        } else {
            error = "missing value of " + arg;
            return false;
        }
    }
    return true;
}

bool ToInt(const std::string& text, int& value, int base) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, base);
    if (text.empty() || *end || v < -1 || v > 100'000'000)
        return false;
    value = int(v);
    return true;
}

bool ParseServeOptions(const Options& o, ServeOptions& serve, std::string& error) {
    for (const auto& kv : o) {
        bool ok = false;
        for (const char* k : kServeOptions)
            ok = ok || kv.first == k;
        if (!ok) {
            error = "unknown option --" + kv.first;
            return false;
        }
    }
    auto text = [&](const char* name) { return o.count(name) ? o.at(name) : std::string(); };
    if (o.count("link") == o.count("tcp")) {
        error =
            o.count("link") ? "--link and --tcp exclude each other" : "serve needs --link or --tcp";
        return false;
    }
    serve.link = text("link");
    serve.state = text("state");
    serve.save = text("save");
    serve.log = text("log");
    if (o.count("tcp") && !ParseTcpAddress(o.at("tcp"), serve.tcpHost, serve.tcpPort)) {
        error = "--tcp wants [HOST:]PORT or [IPv6]:PORT";
        return false;
    }
    if (o.count("link") && (o.count("drop-connection-at") || o.count("accept-delay"))) {
        error = "--drop-connection-at and --accept-delay need --tcp";
        return false;
    }
    if (!ParseNotPrinter(o, serve.line, error))
        return false;
    FaultPlan& faults = serve.faults;
    LineOptions& line = serve.line.line;
    auto number = [&](const char* name, int& value) {
        return !o.count(name) || ToInt(o.at(name), value);
    };
    if (!number("baud", line.baud) || !number("abandon-ms", line.abandonMs) ||
        !number("reply-delay", faults.replyDelayMs) || !number("drop-reply", faults.dropReply) ||
        !number("drop-connection-at", faults.dropLinkCharacter) ||
        !number("accept-delay", serve.line.acceptDelayMs)) {
        error = "bad number";
        return false;
    }
    faults.silent = o.count("silent") > 0;
    faults.silentAfterProceed = o.count("silent-after-proceed") > 0;
    if (o.count("wrong-ack")) {
        const std::string v = o.at("wrong-ack");
        const size_t colon = v.find(':');
        int byte = 0x15;
        if (!ToInt(v.substr(0, colon), faults.wrongAckCharacter) ||
            (colon != std::string::npos && !ToInt(v.substr(colon + 1), byte, 16)) || byte > 255) {
            error = "--wrong-ack wants K or K:HEX";
            return false;
        }
        faults.wrongAckByte = uint8_t(byte);
    }
    if (o.count("split-reply")) {
        const std::string v = o.at("split-reply");
        const size_t colon = v.find(':');
        const std::string which = v.substr(0, colon);
        if (which == "all")
            faults.splitReply = -1;
        if ((which != "all" && !ToInt(which, faults.splitReply)) ||
            (colon != std::string::npos && !ToInt(v.substr(colon + 1), faults.splitDelayMs))) {
            error = "--split-reply wants N or all, then :MS";
            return false;
        }
    }
    return true;
}

} // namespace vprinter
