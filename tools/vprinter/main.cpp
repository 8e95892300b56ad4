// glyphkit-vprinter: a printer of the family on a pseudo-terminal or a TCP
// port, for running and testing Glyphkit without the hardware.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "printer/text_formats.h"
#include "tools/image/png_writer.h"
#include "tools/vprinter/command_line.h"
#include "tools/vprinter/glyph_sheet.h"
#include "tools/vprinter/printer_engine.h"
#include "tools/vprinter/pty_printer.h"
#include "tools/vprinter/state_file.h"
#include "tools/vprinter/tcp_printer.h"
#include "tools/vprinter/wire_log.h"

using namespace vprinter;

namespace {

const char kUsage[] =
    "usage: glyphkit-vprinter serve (--link PATH | --tcp [HOST:]PORT) [--state FILE] [--save "
    "FILE]\n"
    "           [--log FILE] [--baud N] [--reply-delay MS] [--silent] [--silent-after-proceed]\n"
    "           [--wrong-ack K[:HEX]] [--drop-reply N] [--split-reply N|all[:MS]]\n"
    "           [--abandon-ms MS] [--drop-connection-at K] [--accept-delay MS]\n"
    "       glyphkit-vprinter serve --tcp [HOST:]PORT --not-printer KIND [--seed N]\n"
    "           [--stream-byte HEX] [--log FILE] [--accept-delay MS]\n"
    "       glyphkit-vprinter draw --state FILE --id N --out FILE.png|FILE.pbm [--scale N]\n"
    "           [--columns N]\n"
    "       glyphkit-vprinter show --state FILE\n"
    "serve: plays the printer on a pty whose slave PATH links to (for instance the\n"
    "  link `scripts/winrun --com-link N` prints), or on a TCP port as a printer's\n"
    "  network interface (HOST 127.0.0.1 unless given; [::1]:PORT for IPv6; PORT 0\n"
    "  takes a free port). It prints `glyphkit-vprinter: ready on ADDRESS:PORT (tcp), ...`\n"
    "  once listening. One connection is served at a time, each one operation that\n"
    "  starts with nothing half received; a second one waits in the listen queue\n"
    "  until the first closes. --drop-connection-at resets the connection as\n"
    "  download character K arrives (K as for --wrong-ack) without storing it;\n"
    "  --accept-delay accepts a waiting connection only MS later (the kernel has\n"
    "  completed it: its bytes wait unanswered meanwhile);\n"
    "  --baud on TCP makes the printer take in and answer bytes no faster than a\n"
    "  serial line at N baud would carry them (unpaced by default). --state loads\n"
    "  the memory at start, --save writes it after every change, on SIGUSR1 and at exit.\n"
    "  --not-printer plays on every connection, instead of a printer, KIND:\n"
    "    http          a web server: to the first bytes, a 400 Bad Request page, then\n"
    "                  the end of the connection;\n"
    "    random        to every arrival of bytes, 200 to 455 random bytes from the\n"
    "                  generator seeded anew with --seed N (default 1) per connection;\n"
    "    stream        from the opening, one byte over and over until the tool closes:\n"
    "                  --stream-byte HEX (default 78, 'x');\n"
    "    unknown-code  to every info request (01 46 47), 02 'Z' \"00000000\" 03 (a reply\n"
    "                  with an unknown code), to anything else nothing;\n"
    "    echo          every byte sent back as it came.\n"
    "  The ready line then ends `not a printer: KIND` (random with its seed, stream\n"
    "  with its byte). It excludes the printer's memory, pacing and faults (--state,\n"
    "  --save, --baud, --abandon-ms and the fault options).\n";

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

// Loads a state file; false after saying on standard error why it cannot.
bool LoadStateOrSay(const std::string& path, RegistrationMemory& memory) {
    std::string error;
    if (LoadState(path, memory, &error))
        return true;
    std::fprintf(stderr, "glyphkit-vprinter: %s\n", error.c_str());
    return false;
}

int Serve(const Options& o) {
    ServeOptions serve;
    std::string error;
    if (!ParseServeOptions(o, serve, error))
        return Usage(error);
    RegistrationMemory memory;
    if (!serve.state.empty() && !LoadStateOrSay(serve.state, memory))
        return 1;
    WireLog log;
    if (!serve.log.empty() && !log.Open(serve.log)) {
        std::fprintf(stderr, "glyphkit-vprinter: cannot open the log %s\n", serve.log.c_str());
        return 1;
    }
    const std::string& savePath = serve.save;
    auto save = [&] {
        std::string why;
        if (!savePath.empty() && !SaveState(savePath, memory, &why)) {
            log.Note("saving failed: " + why);
            std::fprintf(stderr, "glyphkit-vprinter: %s\n", why.c_str());
        }
    };
    PrinterEngine engine(memory, serve.faults);
    engine.onNote = [&](const std::string& text) { log.Note(text); };
    engine.onChange = save;
    std::unique_ptr<PtyPrinter> pty;
    std::unique_ptr<TcpPrinter> tcp;
    std::string where;
    if (!serve.link.empty()) {
        pty = std::make_unique<PtyPrinter>(engine, log, serve.line.line);
        if (pty->Open(serve.link, &error))
            where = pty->SlavePath() + " (linked from " + serve.link + ")";
    } else {
        tcp = std::make_unique<TcpPrinter>(engine, log, serve.line);
        if (tcp->Listen(serve.tcpHost, serve.tcpPort, &error))
            where = tcp->Address() + " (tcp)";
    }
    if (where.empty()) {
        std::fprintf(stderr, "glyphkit-vprinter: %s\n", error.c_str());
        return 1;
    }
    save();
    std::signal(SIGTERM, OnStop);
    std::signal(SIGINT, OnStop);
    std::signal(SIGHUP, OnStop);
    std::signal(SIGUSR1, OnSave);
    if (serve.line.notPrinter)
        std::printf("glyphkit-vprinter: ready on %s, not a printer: %s\n", where.c_str(),
                    DescribeNonPrinter(*serve.line.notPrinter).c_str());
    else
        std::printf("glyphkit-vprinter: ready on %s, %u of %u bytes used\n", where.c_str(),
                    memory.Used(), kMemoryCapacity);
    std::fflush(stdout);
    const auto keepRunning = [&] {
        if (g_save) {
            g_save = 0;
            save();
        }
        return !g_stop;
    };
    if (pty)
        pty->Run(keepRunning);
    else
        tcp->Run(keepRunning);
    save();
    return 0;
}

int Draw(Options& o) {
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
    std::printf("%s: ID %s, %u glyphs, %ux%u pixels\n", out.c_str(),
                RegistrationIdDigits(id).c_str(), entry->CharacterCount(), sheet.width,
                sheet.height);
    return 0;
}

int Show(Options& o) {
    if (!o.count("state"))
        return Usage("show needs --state FILE");
    RegistrationMemory memory;
    if (!LoadStateOrSay(o["state"], memory))
        return 1;
    for (const auto& e : memory.Entries()) {
        const std::string name(reinterpret_cast<const char*>(e.info.data() + 4),
                               strnlen(reinterpret_cast<const char*>(e.info.data() + 4), 32));
        std::printf("%s %s %s, %u characters, %u bytes per glyph, %u bytes\n",
                    RegistrationIdText(e.Id()).c_str(), e.IsLogo() ? "logo" : "font", name.c_str(),
                    e.CharacterCount(), e.BytesPerGlyph(), e.MemoryUse());
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
    Options options;
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
