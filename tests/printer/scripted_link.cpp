#include "scripted_link.h"

#include <cstdio>
#include <iterator>

Bytes B(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

ScriptStep Answer(Bytes expect, Bytes reply, unsigned delayMs) {
    return ScriptStep{std::move(expect), {Piece{delayMs, std::move(reply)}}};
}

ScriptStep Silent(Bytes expect) {
    return ScriptStep{std::move(expect), {}};
}

ScriptStep SplitAnswer(Bytes expect, Bytes reply, size_t at, unsigned gapMs) {
    Bytes first(reply.begin(), reply.begin() + at);
    Bytes second(reply.begin() + at, reply.end());
    return ScriptStep{std::move(expect), {Piece{0, first}, Piece{gapMs, second}}};
}

bool ScriptedLink::WriteBlock(const uint8_t* data, size_t count) {
    m_written.insert(m_written.end(), data, data + count);
    for (size_t i = 0; i < count; ++i) {
        if (m_step == m_script.size()) {
            if (m_mismatch.empty())
                m_mismatch = "write after the end of the script";
            return true;
        }
        m_pending.push_back(data[i]);
        const ScriptStep& step = m_script[m_step];
        if (m_pending.size() < step.expect.size())
            continue;
        if (m_pending != step.expect && m_mismatch.empty()) {
            char text[64];
            std::snprintf(text, sizeof text, "step %zu: the tool wrote other bytes", m_step);
            m_mismatch = text;
        }
        uint64_t at = m_now;
        for (const Piece& piece : step.reply) {
            at += piece.delayMs;
            // Keep the input in arrival order: a late piece of an earlier
            // reply may come after the start of this one.
            auto pos = m_input.end();
            while (pos != m_input.begin() && std::prev(pos)->at > at)
                --pos;
            for (uint8_t b : piece.bytes)
                pos = std::next(m_input.insert(pos, Arrival{at, b}));
        }
        m_pending.clear();
        ++m_step;
    }
    return true;
}

bool ScriptedLink::ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) {
    ++m_readCalls;
    if (count == 0)
        return true;
    const uint64_t timeout = 10ull * count * count + constantMs;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ++m_attempts;
        const uint64_t deadline = m_now + timeout;
        if (m_input.size() >= count && m_input[count - 1].at <= deadline) {
            for (size_t i = 0; i < count; ++i)
                buffer[i] = m_input[i].byte;
            if (m_input[count - 1].at > m_now)
                m_now = m_input[count - 1].at;
            m_input.erase(m_input.begin(), m_input.begin() + count);
            return true;
        }
        // A short attempt returns what came in time; the port drops it.
        size_t got = 0;
        while (!m_input.empty() && m_input.front().at <= deadline && got < count) {
            buffer[got++] = m_input.front().byte;
            m_input.pop_front();
        }
        m_now = deadline;
    }
    return false;
}
