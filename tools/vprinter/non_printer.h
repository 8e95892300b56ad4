#pragma once
// Peers that are not printers, played on the printer's TCP port in place of
// the engine: what the tool meets when its address or port is wrong. None of
// them ever gives a reply the tool may read as a printer's, except
// unknown-code, which gives exactly the framed reply with an unknown code
// that the tool must read as an empty listing. No I/O here: the TCP server
// moves the bytes.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vprinter {

enum class NonPrinterKind {
    // A web server: one 400 Bad Request page on the first bytes, then the end.
    Http,
    // A few hundred seeded random bytes on every arrival of bytes.
    Random,
    // One byte over and over from the moment the connection opens.
    Stream,
    // A framed 11-byte reply with code 'Z' and "00000000" to every info
    // request, nothing to anything else.
    UnknownCode,
    // Every byte sent back as it came: a loopback plug, or a device in a
    // terminal's echo mode.
    Echo,
};

struct NonPrinterOptions {
    NonPrinterKind kind = NonPrinterKind::Http;
    // Random: every connection starts the generator from this seed, so the
    // tool's first exchange meets the same bytes run after run.
    uint32_t seed = 1;
    // Stream: not a digit, so no stretch of it passes for a length field.
    uint8_t streamByte = 'x';
};

// "http", "random", "stream", "unknown-code", "echo"; false for anything else.
bool ParseNonPrinterKind(const std::string& text, NonPrinterKind& kind);
// What the ready line and the log call it: "http", "stream of 78", ...
std::string DescribeNonPrinter(const NonPrinterOptions& options);

// One connection's peer, from its opening.
class NonPrinterPeer {
public:
    explicit NonPrinterPeer(const NonPrinterOptions& options);

    // Takes received bytes; appends the answer to `out`.
    void Receive(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
    // The answer is complete: the connection ends once it is sent.
    bool Finished() const { return finished_; }
    // Whether it sends without being asked, as long as the connection lasts.
    bool Streams() const { return options_.kind == NonPrinterKind::Stream; }
    // The next `size` bytes of the stream.
    void Stream(size_t size, std::vector<uint8_t>& out) const;

private:
    NonPrinterOptions options_;
    std::mt19937 random_;
    // Unknown-code: how many bytes of an info request have come so far.
    size_t requestMatched_ = 0;
    bool finished_ = false;
};

} // namespace vprinter
