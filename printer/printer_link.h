#pragma once
// The byte link to the printer as the exchanges see it: the serial port on
// Windows, a scripted printer in the tests.
#include <cstddef>
#include <cstdint>

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
};
