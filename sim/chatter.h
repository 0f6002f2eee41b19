#pragma once

#include "sim/pty_pair.h"
#include "sim/wire_writer.h"

#include <chrono>
#include <cstddef>

namespace quvex::sim {

// A unit that talks unasked: a wrong baud rate, a looping unit or a terminal left echoing. It
// sends one letter at a time at 960 bytes/s, never a byte that could pass for an answer or part
// of one ('>', '?', digits, signs, '.', spaces, CR, LF). The serve loop holds it while a line is
// being heard or answered, so that exchanges stay clean.
class Chatter
{
public:
    using Clock = WireWriter::Clock;
    enum class Result { Done, Heard, Full, Failed };

    Chatter(const PtyPair &pty, Clock::time_point start)
        : m_pty(pty)
        , m_due(start)
    {
    }

    Clock::time_point next_due() const { return m_due; }
    // Nothing goes out before one byte time from now.
    void hold(Clock::time_point now) { m_due = now + WireWriter::kByteTime; }
    // Done: the due byte went out, or was dropped because nobody reads. Heard: the panel has begun
    // a line meanwhile, and nothing went out.
    Result send(Clock::time_point now);

private:
    const PtyPair &m_pty;
    Clock::time_point m_due;
    std::size_t m_sent = 0;
};

} // namespace quvex::sim
