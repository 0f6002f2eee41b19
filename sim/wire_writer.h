#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string_view>

namespace quvex::sim {

// Sends answers to the master no faster than the real line would: each byte has its own due time,
// one byte time after the one before it.
class WireWriter
{
public:
    using Clock = std::chrono::steady_clock;
    enum class Result { Done, Full, Failed };
    // The unit's line at 9600 baud: ten bits (start, eight data, stop) for every byte. The chatter
    // keeps to it as well, so that it never sends faster than a real line could.
    static constexpr Clock::duration kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);

    WireWriter(int fd, Clock::duration byte_time);

    void queue(std::string_view bytes, Clock::time_point not_before);
    Result flush(Clock::time_point now);
    void discard() { m_pending.clear(); }
    std::optional<Clock::time_point> next_due() const;

private:
    struct Byte
    {
        Clock::time_point due;
        char value;
    };

    int m_fd;
    Clock::duration m_byte_time;
    Clock::time_point m_last_due{};
    std::deque<Byte> m_pending;
};

} // namespace quvex::sim
