#include "sim/chatter.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <string_view>
#include <unistd.h>

namespace quvex::sim {

namespace {

constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
// A closed serial port loses what arrives, but the pty keeps it for whoever opens the device
// next: a panel opening the port meets at most a quarter second of letters, not minutes of them,
// while a panel busy elsewhere for that long still misses none.
constexpr int kMostUnread = 256;
// A busy machine wakes the loop a little late at times; only so much is made up afterwards.
constexpr auto kCatchUp = 4 * WireWriter::kByteTime;

} // namespace

Chatter::Result Chatter::send(Clock::time_point now)
{
    // The last moment to notice the panel's line: a letter now would land before its answer.
    pollfd input{m_pty.master(), POLLIN, 0};
    if (poll(&input, 1, 0) > 0 && (input.revents & POLLIN))
        return Result::Heard;
    // Bytes a late wake missed follow one write at a time, so the rate holds; a longer stall is
    // dropped rather than sent as a burst.
    m_due = std::max(m_due + WireWriter::kByteTime, now - kCatchUp);
    if (m_pty.unread() >= kMostUnread)
        return Result::Done;
    const char letter = kLetters[m_sent % kLetters.size()];
    const ssize_t written = write(m_pty.master(), &letter, 1);
    if (written == 1) {
        ++m_sent;
        return Result::Done;
    }
    return written == 0 || errno == EAGAIN || errno == EINTR ? Result::Full : Result::Failed;
}

} // namespace quvex::sim
