#include "tools/vprinter/line_relay.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace vprinter {

LineRelay::LineRelay(PrinterEngine& engine, WireLog& log, LineOptions options)
    : engine_(engine), log_(log), options_(options),
      byteTime_(options.baud > 0 ? 10'000'000'000LL / options.baud : 0) {}

void LineRelay::Attach(int fd, bool socket) {
    fd_ = fd;
    socket_ = socket;
    lastActivity_ = Clock::now();
}

void LineRelay::Quiet(Clock::time_point now) {
    if (engine_.Busy() && now - lastActivity_ > std::chrono::milliseconds(options_.abandonMs))
        engine_.Abandon();
}

void LineRelay::Take(const uint8_t* data, size_t size, Clock::time_point arrival) {
    // Logged as they come in, before the pacing delay.
    log_.Received(data, size);
    if (byteTime_.count() > 0) {
        // The bytes were written at once; on a real line the last of them
        // arrives only after every one took its 10 bits.
        lineInFree_ = std::max(arrival, lineInFree_) + byteTime_ * long(size);
        if (!WaitUntil(lineInFree_))
            return;
    }
    std::vector<TimedBytes> out;
    engine_.Receive(data, size, out);
    for (size_t i = 0; i < out.size(); ++i)
        if (!Send(out[i], i == 0 ? lineInFree_ : Clock::time_point{}))
            break;
    lastActivity_ = Clock::now();
}

bool LineRelay::Send(const TimedBytes& piece, Clock::time_point commandEnd) {
    if (piece.delayMs > 0) {
        if (!WaitUntil(Clock::now() + std::chrono::milliseconds(piece.delayMs)))
            return false;
        commandEnd = {};
    }
    if (piece.bytes.empty())
        return true;
    bool ok = true;
    if (byteTime_.count() <= 0) {
        ok = WriteAll(piece.bytes.data(), piece.bytes.size());
    } else {
        // Each byte leaves when the line has carried the one before it;
        // whatever is due is written together, against absolute times so
        // sleeping late does not add up. An undelayed reply starts when the
        // command's last byte came in on the line, not when this thread woke
        // up after it: the wake-up's delay is no time of the line's.
        const auto ready = commandEnd == Clock::time_point{} ? Clock::now() : commandEnd;
        const auto start = std::max(ready, lineOutFree_);
        size_t written = 0;
        while (ok && written < piece.bytes.size()) {
            if (!WaitUntil(start + byteTime_ * long(written + 1)))
                return false;
            const auto elapsed = Clock::now() - start;
            size_t due = std::min(piece.bytes.size(), size_t(elapsed / byteTime_));
            due = std::max(due, written + 1);
            ok = WriteAll(piece.bytes.data() + written, due - written);
            written = due;
        }
        lineOutFree_ = start + byteTime_ * long(piece.bytes.size());
    }
    log_.Sent(piece.bytes.data(), piece.bytes.size());
    if (!ok)
        log_.Note("the tool does not read: the rest of this reply was dropped");
    return true;
}

bool LineRelay::WriteAll(const uint8_t* data, size_t size) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (size > 0) {
        const ssize_t n = socket_ ? send(fd_, data, size, MSG_NOSIGNAL) : write(fd_, data, size);
        if (n > 0) {
            data += n;
            size -= size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (Clock::now() > deadline)
            return false;
        pollfd p{fd_, POLLOUT, 0};
        poll(&p, 1, 20);
    }
    return true;
}

bool LineRelay::WaitUntil(Clock::time_point until) {
    if (waitUntil)
        return waitUntil(until);
    std::this_thread::sleep_until(until);
    return true;
}

} // namespace vprinter
