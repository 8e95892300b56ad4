#include "tools/vprinter/pty_printer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

namespace vprinter {

PtyPrinter::PtyPrinter(PrinterEngine& engine, WireLog& log, LineOptions options)
    : engine_(engine), log_(log), options_(options) {}

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
    const auto byteTime =
        std::chrono::nanoseconds(options_.baud > 0 ? 10'000'000'000LL / options_.baud : 0);
    auto lastActivity = Clock::now();
    std::vector<uint8_t> buffer(4096);
    std::vector<TimedBytes> out;
    while (keepRunning()) {
        pollfd p{master_, POLLIN, 0};
        const int ready = poll(&p, 1, 50);
        const auto now = Clock::now();
        if (ready <= 0 || !(p.revents & POLLIN)) {
            if (engine_.Busy() &&
                now - lastActivity > std::chrono::milliseconds(options_.abandonMs)) {
                engine_.Abandon();
            }
            if (ready > 0 && (p.revents & (POLLHUP | POLLERR)))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        const ssize_t n = read(master_, buffer.data(), buffer.size());
        if (n <= 0)
            continue;
        // Logged as they come in from the pty, before the pacing delay.
        log_.Received(buffer.data(), size_t(n));
        if (byteTime.count() > 0) {
            // The bytes were written at once into the pty; on a real line the
            // last of them arrives only after every one took its 10 bits.
            lineInFree_ = std::max(now, lineInFree_) + byteTime * n;
            std::this_thread::sleep_until(lineInFree_);
        }
        out.clear();
        engine_.Receive(buffer.data(), size_t(n), out);
        for (size_t i = 0; i < out.size(); ++i)
            Send(out[i], i == 0 ? lineInFree_ : Clock::time_point{});
        lastActivity = Clock::now();
    }
}

void PtyPrinter::Send(const TimedBytes& piece, Clock::time_point commandEnd) {
    if (piece.delayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(piece.delayMs));
        commandEnd = {};
    }
    if (piece.bytes.empty())
        return;
    bool ok = true;
    if (options_.baud <= 0) {
        ok = WriteAll(piece.bytes.data(), piece.bytes.size());
    } else {
        // Each byte leaves when the line has carried the one before it;
        // whatever is due is written together, against absolute times so
        // sleeping late does not add up. An undelayed reply starts when the
        // command's last byte came in on the line, not when this thread woke
        // up after it: the wake-up's delay is no time of the line's.
        const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / options_.baud);
        const auto ready = commandEnd == Clock::time_point{} ? Clock::now() : commandEnd;
        const auto start = std::max(ready, lineOutFree_);
        size_t written = 0;
        while (ok && written < piece.bytes.size()) {
            std::this_thread::sleep_until(start + byteTime * long(written + 1));
            const auto elapsed = Clock::now() - start;
            size_t due = std::min(piece.bytes.size(), size_t(elapsed / byteTime));
            due = std::max(due, written + 1);
            ok = WriteAll(piece.bytes.data() + written, due - written);
            written = due;
        }
        lineOutFree_ = start + byteTime * long(piece.bytes.size());
    }
    log_.Sent(piece.bytes.data(), piece.bytes.size());
    if (!ok)
        log_.Note("the tool does not read: the rest of this reply was dropped");
}

bool PtyPrinter::WriteAll(const uint8_t* data, size_t size) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (size > 0) {
        const ssize_t n = write(master_, data, size);
        if (n > 0) {
            data += n;
            size -= size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (Clock::now() > deadline)
            return false;
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 20);
    }
    return true;
}

} // namespace vprinter
