// glyphkit-vprinter: a printer of the family on a pseudo-terminal, for running
// and testing Glyphkit without the hardware.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "tools/image/png_writer.h"
#include "tools/vprinter/glyph_sheet.h"
#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/pty_printer.h"
#include "tools/vprinter/state_file.h"
#include "tools/vprinter/wire_log.h"

using namespace vprinter;

namespace {

const char kUsage[] =
    "usage: glyphkit-vprinter serve --link PATH [--state FILE] [--save FILE] [--log FILE]\n"
    "           [--baud N] [--reply-delay MS] [--silent] [--silent-after-proceed]\n"
    "           [--wrong-ack K[:HEX]] [--drop-reply N] [--split-reply N|all[:MS]]\n"
    "           [--abandon-ms MS]\n"
    "       glyphkit-vprinter draw --state FILE --id N --out FILE.png|FILE.pbm [--scale N]\n"
    "           [--columns N]\n"
    "       glyphkit-vprinter show --state FILE\n"
    "serve: plays the printer on a pty whose slave PATH links to (for instance the\n"
    "  link `scripts/winrun --com-link N` prints); --state loads the memory at start,\n"
    "  --save writes it after every change, on SIGUSR1 and at exit.\n";

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_save = 0;

void OnStop(int) {
    g_stop = 1;
}
void OnSave(int) {
    g_save = 1;
}

int Usage(const std::string& why) {
    std::fprintf(stderr, "glyphkit-vprinter: %s\n%s", why.c_str(), kUsage);
    return 2;
}

// --name value pairs and bare flags.
bool ParseOptions(int argc, char** argv, std::map<std::string, std::string>& options,
                  std::string& error) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            error = "unexpected argument " + arg;
            return false;
        }
        const std::string name = arg.substr(2);
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

bool ToInt(const std::string& text, int& value, int base = 10) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, base);
    if (text.empty() || *end || v < -1 || v > 100'000'000)
        return false;
    value = int(v);
    return true;
}

// Loads a state file; false after saying on standard error why it cannot.
bool LoadStateOrSay(const std::string& path, RegistrationMemory& memory) {
    std::string error;
    if (LoadState(path, memory, &error))
        return true;
    std::fprintf(stderr, "glyphkit-vprinter: %s\n", error.c_str());
    return false;
}

int Serve(std::map<std::string, std::string>& o) {
    static const char* known[] = {"link",      "state",       "save",        "log",
                                  "baud",      "reply-delay", "silent",      "silent-after-proceed",
                                  "wrong-ack", "drop-reply",  "split-reply", "abandon-ms"};
    for (const auto& kv : o) {
        bool ok = false;
        for (const char* k : known)
            ok = ok || kv.first == k;
        if (!ok)
            return Usage("unknown option --" + kv.first);
    }
    if (!o.count("link"))
        return Usage("serve needs --link");
    FaultPlan faults;
    LineOptions line;
    auto number = [&](const char* name, int& value) {
        return !o.count(name) || ToInt(o[name], value);
    };
    if (!number("baud", line.baud) || !number("abandon-ms", line.abandonMs) ||
        !number("reply-delay", faults.replyDelayMs) || !number("drop-reply", faults.dropReply))
        return Usage("bad number");
    faults.silent = o.count("silent") > 0;
    faults.silentAfterProceed = o.count("silent-after-proceed") > 0;
    if (o.count("wrong-ack")) {
        const std::string v = o["wrong-ack"];
        const size_t colon = v.find(':');
        int byte = 0x15;
        if (!ToInt(v.substr(0, colon), faults.wrongAckCharacter) ||
            (colon != std::string::npos && !ToInt(v.substr(colon + 1), byte, 16)) || byte > 255)
            return Usage("--wrong-ack wants K or K:HEX");
        faults.wrongAckByte = uint8_t(byte);
    }
    if (o.count("split-reply")) {
        const std::string v = o["split-reply"];
        const size_t colon = v.find(':');
        const std::string which = v.substr(0, colon);
        if (which == "all")
            faults.splitReply = -1;
        else if (!ToInt(which, faults.splitReply))
            return Usage("--split-reply wants N or all, then :MS");
        if (colon != std::string::npos && !ToInt(v.substr(colon + 1), faults.splitDelayMs))
            return Usage("--split-reply wants N or all, then :MS");
    }

    RegistrationMemory memory;
    if (o.count("state") && !LoadStateOrSay(o["state"], memory))
        return 1;
    WireLog log;
    if (o.count("log") && !log.Open(o["log"])) {
        std::fprintf(stderr, "glyphkit-vprinter: cannot open the log %s\n", o["log"].c_str());
        return 1;
    }
    const std::string savePath = o.count("save") ? o["save"] : "";
    auto save = [&] {
        std::string why;
        if (!savePath.empty() && !SaveState(savePath, memory, &why)) {
            log.Note("saving failed: " + why);
            std::fprintf(stderr, "glyphkit-vprinter: %s\n", why.c_str());
        }
    };
    PrinterEngine engine(memory, faults);
    engine.onNote = [&](const std::string& text) { log.Note(text); };
    engine.onChange = save;
    PtyPrinter printer(engine, log, line);
    std::string error;
    if (!printer.Open(o["link"], &error)) {
        std::fprintf(stderr, "glyphkit-vprinter: %s\n", error.c_str());
        return 1;
    }
    save();
    std::signal(SIGTERM, OnStop);
    std::signal(SIGINT, OnStop);
    std::signal(SIGHUP, OnStop);
    std::signal(SIGUSR1, OnSave);
    std::printf("glyphkit-vprinter: ready on %s (linked from %s), %u of %u bytes used\n",
                printer.SlavePath().c_str(), o["link"].c_str(), memory.Used(), kMemoryCapacity);
    std::fflush(stdout);
    printer.Run([&] {
        if (g_save) {
            g_save = 0;
            save();
        }
        return !g_stop;
    });
    save();
    return 0;
}

int Draw(std::map<std::string, std::string>& o) {
    int id = -1, scale = 1, columns = 16;
    if (!o.count("state") || !o.count("out") || !o.count("id") || !ToInt(o["id"], id) ||
        (o.count("scale") && !ToInt(o["scale"], scale)) ||
        (o.count("columns") && !ToInt(o["columns"], columns)) || scale < 1 || scale > 16 ||
        columns < 1)
        return Usage("draw needs --state FILE --id N --out FILE");
    RegistrationMemory memory;
    if (!LoadStateOrSay(o["state"], memory))
        return 1;
    const StoredFont* entry = memory.Find(id);
    if (!entry) {
        std::fprintf(stderr, "glyphkit-vprinter: nothing is registered as ID %d\n", id);
        return 1;
    }
    const std::string& out = o["out"];
    const image::IndexedImage sheet = DrawEntry(*entry, uint32_t(columns), uint32_t(scale));
    if (sheet.pixels.empty()) {
        std::fprintf(stderr, "glyphkit-vprinter: ID %d holds no glyphs to draw\n", id);
        return 1;
    }
    bool written = false;
    if (out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0) {
        const std::vector<uint8_t> file = image::EncodePng(sheet);
        std::ofstream stream(out, std::ios::binary | std::ios::trunc);
        stream.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        written = !file.empty() && bool(stream.flush());
    } else {
        written = WritePbm(sheet, out);
    }
    if (!written) {
        std::fprintf(stderr, "glyphkit-vprinter: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: ID %02d, %u glyphs, %ux%u pixels\n", out.c_str(), id, entry->CharacterCount(),
                sheet.width, sheet.height);
    return 0;
}

int Show(std::map<std::string, std::string>& o) {
    if (!o.count("state"))
        return Usage("show needs --state FILE");
    RegistrationMemory memory;
    if (!LoadStateOrSay(o["state"], memory))
        return 1;
    for (const auto& e : memory.Entries()) {
        const std::string name(reinterpret_cast<const char*>(e.info.data() + 4),
                               strnlen(reinterpret_cast<const char*>(e.info.data() + 4), 32));
        std::printf("ID%02d %s %s, %u characters, %u bytes per glyph, %u bytes\n", e.Id(),
                    e.IsLogo() ? "logo" : "font", name.c_str(), e.CharacterCount(),
                    e.BytesPerGlyph(), e.MemoryUse());
    }
    std::printf("%u of %u bytes used\n", memory.Used(), kMemoryCapacity);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage("no command");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::map<std::string, std::string> options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return Usage(error);
    if (command == "serve")
        return Serve(options);
    if (command == "draw")
        return Draw(options);
    if (command == "show")
        return Show(options);
    return Usage("unknown command " + command);
}
