#include "sim/serve_loop.h"

#include "sim/fault_plan.h"
#include "sim/line_framer.h"
#include "sim/trace_log.h"
#include "sim/wire_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace quvex::sim {

namespace {

using Clock = WireWriter::Clock;
using namespace std::chrono_literals;

// 10 bits per character at 9600 baud.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);
// How long to leave a hung-up master alone, so that a persistent POLLHUP cannot spin the loop.
constexpr auto kHangUpPause = 100ms;

class Server
{
public:
    Server(const Options& options, Unit& unit, int master)
        : m_unit(unit), m_master(master), m_faults(options.faults),
          m_writer(master, options.pacing ? Clock::duration(kByteTime) : Clock::duration::zero()),
          m_trace(options.trace), m_answer_delay(std::chrono::milliseconds(options.delay_ms + options.late_ms)),
          m_byte_time(options.pacing ? Clock::duration(kByteTime) : Clock::duration::zero())
    {
    }

    int run(int signal_fd);

private:
    void receive(Clock::time_point now);
    void answer(const Line& line, Clock::time_point now);
    void rest(Clock::time_point now, const char* why);

    Unit& m_unit;
    int m_master;
    LineFramer m_framer;
    FaultPlan m_faults;
    WireWriter m_writer;
    TraceLog m_trace;
    Clock::duration m_answer_delay;
    Clock::duration m_byte_time;
    // When the last byte read would have finished arriving on a real 9600-baud line: a pty
    // delivers the panel's line at once, a unit only hears it after its wire time.
    Clock::time_point m_heard{};
    Clock::time_point m_paused_until{};
    bool m_full = false;
};

int Server::run(int signal_fd)
{
    for (;;) {
        const auto now = Clock::now();
        if (now >= m_paused_until) {
            const auto result = m_writer.flush(now);
            m_full = result == WireWriter::Result::Full;
            if (result == WireWriter::Result::Failed)
                rest(now, std::strerror(errno));
        }
        const bool watched = now >= m_paused_until; // rest() may just have begun

        auto wake = watched ? m_writer.next_due() : m_paused_until;
        if (m_full)
            wake.reset();
        const short events = short(POLLIN | (m_full ? POLLOUT : 0));
        pollfd fds[2] = {{signal_fd, POLLIN, 0}, {watched ? m_master : -1, events, 0}};
        timespec timeout{};
        if (wake) {
            const auto left = std::chrono::nanoseconds(std::max(*wake - now, Clock::duration::zero()));
            timeout.tv_sec = left.count() / 1'000'000'000;
            timeout.tv_nsec = left.count() % 1'000'000'000;
        }
        if (ppoll(fds, 2, wake ? &timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "quvex-sim: poll failed: %s\n", std::strerror(errno));
            return 1;
        }
        if (fds[0].revents != 0)
            return 0;
        if (fds[1].revents & POLLIN)
            receive(Clock::now());
        else if (fds[1].revents & (POLLHUP | POLLERR))
            rest(Clock::now(), "hang-up");
    }
}

void Server::receive(Clock::time_point now)
{
    char buffer[512];
    const ssize_t count = read(m_master, buffer, sizeof buffer);
    if (count > 0) {
        m_heard = std::max(now, m_heard) + count * m_byte_time;
        for (const Line& line : m_framer.feed({buffer, std::size_t(count)}))
            answer(line, m_heard);
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        rest(now, count == 0 ? "end of input" : std::strerror(errno));
    }
}

void Server::answer(const Line& line, Clock::time_point now)
{
    m_trace.log(line.overlong ? "rx (overlong line)" : "rx", line.text);
    const auto verdict = m_faults.next();
    if (!verdict.heard)
        return m_trace.log("-- line lost");
    std::string reply = verdict.refused || line.overlong ? std::string("?\n") : m_unit.handle(line.text);
    if (!verdict.answered)
        return m_trace.log("-- no answer");
    if (verdict.stray)
        reply.insert(reply.begin(), *verdict.stray);
    m_writer.queue(reply, now + m_answer_delay);
    m_trace.log("tx", reply);
}

void Server::rest(Clock::time_point now, const char* why)
{
    m_trace.log("-- master unusable, pausing:", why);
    m_writer.discard();
    m_full = false;
    m_paused_until = now + kHangUpPause;
}

} // namespace

int serve(const Options& options, Unit& unit, Adapter& adapter, int signal_fd)
{
    // Paced bytes go out when ppoll wakes, and the default 50 us of timer slack made every
    // answer end that much later than on the wire; 1 ns is the least (0 restores the default).
    if (options.pacing)
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    return Server(options, unit, adapter.pty().master()).run(signal_fd);
}

} // namespace quvex::sim
