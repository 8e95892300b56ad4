#pragma once
// Misbehaviour the virtual printer can be asked for, to exercise the tool's
// time-outs, retries and failure messages.
#include <cstdint>

namespace vprinter {

struct FaultPlan {
    // Every Proceed is swallowed: no reply and nothing done.
    bool silentAfterProceed = false;
    // Character k (1-based) of a download is answered with wrongAckByte
    // instead of ACK, and the download is dropped; 0 for none.
    int wrongAckCharacter = 0;
    uint8_t wrongAckByte = 0x15;
    // The n-th reply (1-based, counting every reply sent, ACKs included) is
    // never sent; 0 for none.
    int dropReply = 0;
    // The n-th reply is sent in two pieces with splitDelayMs between them;
    // 0 for none, -1 for every reply of two bytes or more.
    int splitReply = 0;
    int splitDelayMs = 0;
    // Wait before every reply.
    int replyDelayMs = 0;
    // Nothing is ever answered, as from a printer switched off or a cable
    // plugged into the wrong port.
    bool silent = false;
    // The link is broken (a TCP connection reset) as character k (1-based,
    // counted as for wrongAckCharacter) of a download begins to arrive; the
    // character is not stored; 0 for none.
    int dropLinkCharacter = 0;
};

} // namespace vprinter
