#pragma once
// The byte link to the printer as the exchanges see it: the serial port or a
// TCP connection on Windows, a scripted printer in the tests.
#include <cstddef>
#include <cstdint>

// A read makes up to this many attempts; each drops what it read when it
// comes short.
constexpr int kLinkReadAttempts = 3;

// How long one attempt to read count bytes may wait: the constant part and
// 10 ms a byte for every byte of the read, as the serial port's total
// time-out is set.
constexpr uint64_t ReadAttemptTimeoutMs(size_t count, unsigned constantMs) {
    return uint64_t(10) * count * count + constantMs;
}

class PrinterLink {
public:
    virtual ~PrinterLink() = default;

    // Sends count bytes. The result is informative only: the reply that
    // follows decides every outcome.
    virtual bool WriteBlock(const uint8_t* data, size_t count) = 0;
    virtual bool WriteByte(uint8_t value) { return WriteBlock(&value, 1); }

    // Reads count bytes into buffer, each attempt bounded by the port's
    // time-outs with the given constant part. True only when exactly count
    // bytes arrived in one attempt (count 0 succeeds at once); after false
    // the buffer's content is undefined.
    virtual bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) = 0;

    // Bytes have come that no read has taken yet. A printer speaks only when
    // spoken to, so at the end of an answer nothing may be waiting.
    virtual bool BytesWaiting() { return false; }
};
