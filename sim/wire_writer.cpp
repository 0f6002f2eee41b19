#include "sim/wire_writer.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <unistd.h>

namespace quvex::sim {

WireWriter::WireWriter(int fd, Clock::duration byte_time)
    : m_fd(fd)
    , m_byte_time(byte_time)
{
}

void WireWriter::queue(std::string_view bytes, Clock::time_point not_before)
{
    for (const char value : bytes) {
        m_last_due = std::max(not_before, m_last_due) + m_byte_time;
        m_pending.push_back({m_last_due, value});
    }
}

WireWriter::Result WireWriter::flush(Clock::time_point now)
{
    std::string due;
    for (const Byte &byte : m_pending) {
        if (byte.due > now)
            break;
        due.push_back(byte.value);
    }
    if (due.empty())
        return Result::Done;
    const ssize_t written = write(m_fd, due.data(), due.size());
    if (written < 0)
        return errno == EAGAIN || errno == EINTR ? Result::Full : Result::Failed;
    m_pending.erase(m_pending.begin(), m_pending.begin() + written);
    return std::size_t(written) == due.size() ? Result::Done : Result::Full;
}

std::optional<WireWriter::Clock::time_point> WireWriter::next_due() const
{
    if (m_pending.empty())
        return std::nullopt;
    return m_pending.front().due;
}

} // namespace quvex::sim
