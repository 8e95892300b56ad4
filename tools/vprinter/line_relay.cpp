#include "tools/vprinter/line_relay.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
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
    size_t written = 0;
    if (byteTime_.count() <= 0) {
        written = WriteAll(piece.bytes.data(), piece.bytes.size());
    } else {
        // The bytes leave in pieces of kPacedPiece of line time, each when the
        // line has carried its last byte, so none leaves sooner than on the
        // line; whatever is due is written together, against absolute times
        // so sleeping late does not add up. Byte by byte, every printer would
        // wake for every byte time and the tool would read every byte on its
        // own: a few dozen printers answering at once would keep the cores so
        // busy that a printer just asked could not start its reply within the
        // tool's time-out. An undelayed reply starts when the command's last
        // byte came in on the line, not when this thread woke up after it:
        // the wake-up's delay is no time of the line's.
        const size_t pieceBytes = std::max<size_t>(1, size_t(kPacedPiece / byteTime_));
        const auto ready = commandEnd == Clock::time_point{} ? Clock::now() : commandEnd;
        const auto start = std::max(ready, lineOutFree_);
        const size_t size = piece.bytes.size();
        while (written < size) {
            const size_t next = std::min(size, written + pieceBytes);
            if (!WaitUntil(start + byteTime_ * long(next)))
                return false;
            const size_t due = std::clamp(size_t((Clock::now() - start) / byteTime_), next, size);
            const size_t sent = WriteAll(piece.bytes.data() + written, due - written);
            written += sent;
            if (written < due)
                break;
        }
        // A reply the tool no longer takes holds the line only for what left.
        lineOutFree_ = start + byteTime_ * long(written);
    }
    // Only what left is logged as sent.
    if (written > 0)
        log_.Sent(piece.bytes.data(), written);
    if (written < piece.bytes.size())
        log_.Note("the tool does not read or has gone: the other " +
                  std::to_string(piece.bytes.size() - written) +
                  " byte(s) of this reply were dropped");
    return true;
}

size_t LineRelay::WriteAll(const uint8_t* data, size_t size) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    size_t written = 0;
    while (written < size) {
        const ssize_t n = socket_ ? send(fd_, data + written, size - written, MSG_NOSIGNAL)
                                  : write(fd_, data + written, size - written);
        if (n > 0) {
            written += size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        if (Clock::now() > deadline)
            break;
        pollfd p{fd_, POLLOUT, 0};
        poll(&p, 1, 20);
    }
    return written;
}

bool LineRelay::WaitUntil(Clock::time_point until) {
    if (waitUntil)
        return waitUntil(until);
    std::this_thread::sleep_until(until);
    return true;
}

} // namespace vprinter
