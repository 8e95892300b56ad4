#include "tools/vprinter/pty_printer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

namespace vprinter {

PtyPrinter::PtyPrinter(PrinterEngine& engine, WireLog& log, LineOptions options)
    : relay_(engine, log, options), log_(log) {}

PtyPrinter::~PtyPrinter() {
    if (!linkPath_.empty()) {
        // Only our own link goes: another printer may have taken the path since.
        char target[4096];
        const ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, size_t(n)) == slavePath_)
            unlink(linkPath_.c_str());
    }
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}

bool PtyPrinter::Open(const std::string& linkPath, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what + ": " + std::strerror(errno);
        return false;
    };
    char name[256];
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return fail("openpty");
    slavePath_ = name;
    // Raw: no echo, no line editing, no CR/LF translation and, above all, no
    // XON/XOFF: glyph bitmaps are binary and hold 0x11 and 0x13. Wine applies
    // the port's DCB to this same termios, and a DCB read back from a slave
    // with IXON set would tell the tool flow control is on.
    termios t{};
    if (tcgetattr(slave_, &t) != 0)
        return fail("tcgetattr");
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    cfsetispeed(&t, B115200);
    cfsetospeed(&t, B115200);
    if (tcsetattr(slave_, TCSANOW, &t) != 0)
        return fail("tcsetattr");
    // The master never blocks: a reply nobody reads must not hang the printer.
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    relay_.Attach(master_, false);
    // Our own slave descriptor stays open so the master does not see a hang-up
    // each time the tool closes the port between operations.
    const std::string temporary = linkPath + ".vprinter-new";
    unlink(temporary.c_str());
    if (symlink(slavePath_.c_str(), temporary.c_str()) != 0)
        return fail("symlink " + temporary);
    if (rename(temporary.c_str(), linkPath.c_str()) != 0) {
        unlink(temporary.c_str());
        return fail("rename to " + linkPath);
    }
    linkPath_ = linkPath;
    log_.Note("listening on " + slavePath_ + " via " + linkPath);
    return true;
}

void PtyPrinter::Run(const std::function<bool()>& keepRunning) {
    // Pacing sleeps for single byte times (87 us at 115200 baud); the default
    // 50 us of timer slack would stretch every one of them.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::vector<uint8_t> buffer(4096);
    while (keepRunning()) {
        pollfd p{master_, POLLIN, 0};
        const int ready = poll(&p, 1, 50);
        const auto now = LineRelay::Clock::now();
        if (ready <= 0 || !(p.revents & POLLIN)) {
            relay_.Quiet(now);
            if (ready > 0 && (p.revents & (POLLHUP | POLLERR)))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        const ssize_t n = read(master_, buffer.data(), buffer.size());
        if (n > 0)
            relay_.Take(buffer.data(), size_t(n), now);
    }
}

} // namespace vprinter
