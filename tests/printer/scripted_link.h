#pragma once
// A printer played from a script, on a virtual clock. Each step names the
// bytes the tool must send and the printer's answer to them: pieces that
// arrive after given delays, so a reply can be dropped, split, delayed or
// garbled. Reads behave like the serial port's: each attempt waits at most
// 10 x count x count + constant ms, a short attempt is discarded, three
// attempts; a reply split across an attempt's time-out loses its first piece.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "printer/printer_link.h"

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& text); // the bytes of a string literal
Bytes Cat(std::initializer_list<Bytes> parts);

struct Piece {
    unsigned delayMs = 0; // after the previous piece (the first: after the command)
    Bytes bytes;
};

struct ScriptStep {
    Bytes expect;             // what the tool writes (one or more writes)
    std::vector<Piece> reply; // empty: the printer stays silent
};

ScriptStep Answer(Bytes expect, Bytes reply, unsigned delayMs = 0);
ScriptStep Silent(Bytes expect);
ScriptStep SplitAnswer(Bytes expect, Bytes reply, size_t at, unsigned gapMs);

class ScriptedLink : public PrinterLink {
public:
    explicit ScriptedLink(std::vector<ScriptStep> script) : m_script(std::move(script)) {}

    bool WriteBlock(const uint8_t* data, size_t count) override;
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) override;
    // Bytes that have arrived by now and were not read.
    bool BytesWaiting() override { return !m_input.empty() && m_input.front().at <= m_now; }

    // Everything the tool wrote, in order.
    const Bytes& Written() const { return m_written; }
    // Empty when the writes followed the script; otherwise what went wrong.
    const std::string& Mismatch() const { return m_mismatch; }
    bool ScriptDone() const { return m_step == m_script.size(); }
    uint64_t NowMs() const { return m_now; }
    int ReadCalls() const { return m_readCalls; }
    int ReadAttempts() const { return m_attempts; }
    size_t Unread() const { return m_input.size(); }

private:
    struct Arrival {
        uint64_t at;
        uint8_t byte;
    };
    std::vector<ScriptStep> m_script;
    size_t m_step = 0;
    Bytes m_pending; // written bytes of the current step so far
    Bytes m_written;
    std::deque<Arrival> m_input;
    std::string m_mismatch;
    uint64_t m_now = 0;
    int m_readCalls = 0;
    int m_attempts = 0;
};
