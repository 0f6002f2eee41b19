#include "sim/serve_loop.h"

#include "sim/chatter.h"
#include "sim/fault_plan.h"
#include "sim/line_framer.h"
#include "sim/trace_log.h"
#include "sim/wire_writer.h"
#include "sim/wrong_baud.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace quvex::sim {

namespace {

using Clock = WireWriter::Clock;
using namespace std::chrono_literals;

// How long to leave a hung-up master alone, so that a persistent POLLHUP cannot spin the loop.
constexpr auto kHangUpPause = 100ms;
// Closing the master throws away what the panel has not read yet, and the last answer before a
// vanish must arrive: wait until the panel has taken it, looking again every kDrainLook, but no
// longer than kDrainLimit for a panel that is not reading.
constexpr auto kDrainLook = 2ms;
constexpr auto kDrainLimit = 250ms;

timespec to_timespec(Clock::duration left)
{
    const auto nanoseconds = std::chrono::nanoseconds(std::max(left, Clock::duration::zero())).count();
    return {time_t(nanoseconds / 1'000'000'000), long(nanoseconds % 1'000'000'000)};
}

class Server
{
public:
    Server(const Options &options, Unit &unit, FaultPlan &faults, const PtyPair &pty)
        : m_unit(unit)
        , m_pty(pty)
        , m_faults(faults)
        , m_writer(pty.master(), options.pacing ? WireWriter::kByteTime : Clock::duration::zero())
        , m_trace(options.trace)
        , m_answer_delay(std::chrono::milliseconds(options.delay_ms + options.late_ms))
        , m_byte_time(options.pacing ? WireWriter::kByteTime : Clock::duration::zero())
        , m_wrong_baud(options.faults.wrong_baud)
    {
        if (options.chatter)
            m_chatter.emplace(pty, Clock::now());
    }

    // Gives the exit code, or nothing once the line that pulls the adapter has been answered.
    std::optional<int> run(int signal_fd);

private:
    void receive(Clock::time_point now);
    void answer(const Line &line, Clock::time_point now);
    void rest(Clock::time_point now, const char *why);
    void chatter(Clock::time_point now);
    // No line is being heard or answered, so chatter cannot land inside an exchange.
    bool quiet() const { return !m_framer.mid_line() && !m_writer.next_due() && !m_vanishing; }
    std::optional<Clock::time_point> vanish_look(Clock::time_point now);

    Unit &m_unit;
    const PtyPair &m_pty;
    LineFramer m_framer;
    FaultPlan &m_faults;
    WireWriter m_writer;
    std::optional<Chatter> m_chatter;
    TraceLog m_trace;
    Clock::duration m_answer_delay;
    Clock::duration m_byte_time;
    int m_wrong_baud;
    // When the last byte read would have finished arriving on a real 9600-baud line: a pty
    // delivers the panel's line at once, a unit only hears it after its wire time.
    Clock::time_point m_heard{};
    Clock::time_point m_paused_until{};
    bool m_full = false;
    bool m_vanishing = false;
    std::optional<Clock::time_point> m_answered; // when the last answer before a vanish was out
};

std::optional<int> Server::run(int signal_fd)
{
    for (;;) {
        const auto now = Clock::now();
        // Held before the flush, so the first letter after an answer is a byte time behind it.
        if (m_chatter && !quiet())
            m_chatter->hold(now);
        if (now >= m_paused_until) {
            const auto result = m_writer.flush(now);
            m_full = result == WireWriter::Result::Full;
            if (result == WireWriter::Result::Failed)
                rest(now, std::strerror(errno));
        }
        if (m_chatter && now >= m_paused_until && !m_full && quiet() && now >= m_chatter->next_due())
            chatter(now);
        const bool watched = now >= m_paused_until; // rest() may just have begun

        auto wake = watched ? m_writer.next_due() : m_paused_until;
        if (m_chatter && watched && quiet())
            wake = std::min(wake.value_or(m_chatter->next_due()), m_chatter->next_due());
        if (m_vanishing && !m_writer.next_due()) {
            const auto look = vanish_look(now);
            if (!look)
                return std::nullopt;
            wake = std::min(wake.value_or(*look), *look);
        }
        if (m_full)
            wake.reset();
        const short events = short(POLLIN | (m_full ? POLLOUT : 0));
        pollfd fds[2] = {{signal_fd, POLLIN, 0}, {watched ? m_pty.master() : -1, events, 0}};
        const timespec timeout = wake ? to_timespec(*wake - now) : timespec{};
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

// Called once the last answer is out: nothing when the adapter may go now, else when to look again.
std::optional<Clock::time_point> Server::vanish_look(Clock::time_point now)
{
    if (!m_answered)
        m_answered = now;
    if (m_pty.unread() == 0 || now - *m_answered >= kDrainLimit)
        return std::nullopt;
    return now + kDrainLook;
}

void Server::receive(Clock::time_point now)
{
    char buffer[512];
    const ssize_t count = read(m_pty.master(), buffer, sizeof buffer);
    if (count > 0) {
        m_heard = std::max(now, m_heard) + count * m_byte_time;
        for (const Line &line : m_framer.feed({buffer, std::size_t(count)}))
            answer(line, m_heard);
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        rest(now, count == 0 ? "end of input" : std::strerror(errno));
    }
}

void Server::answer(const Line &line, Clock::time_point now)
{
    m_trace.log(line.overlong ? "rx (overlong line)" : "rx", line.text);
    // Whatever follows the line that pulls the adapter is sent into a cable that is gone.
    if (m_vanishing)
        return m_trace.log("-- line lost, the adapter is being pulled");
    const auto verdict = m_faults.next(line.text);
    m_vanishing = verdict.vanish;
    if (!verdict.heard)
        return m_trace.log("-- line lost");
    std::string reply = verdict.refused || line.overlong ? std::string("?\n") : m_unit.handle(line.text);
    if (verdict.garbled)
        reply = std::string(1, kGarbledAnswer);
    if (!verdict.answered)
        return m_trace.log("-- no answer");
    // Paced by the bytes heard, not by the unit's slower or faster line: the panel only
    // judges which bytes come, and they all come well within its wait.
    if (m_wrong_baud > 0)
        reply = heard_at_9600(reply, m_wrong_baud);
    if (verdict.stray)
        reply.insert(reply.begin(), *verdict.stray);
    m_writer.queue(reply, now + m_answer_delay);
    m_trace.log("tx", reply);
}

void Server::chatter(Clock::time_point now)
{
    switch (m_chatter->send(now)) {
    case Chatter::Result::Done:
        break;
    case Chatter::Result::Heard:
        receive(now);
        break;
    case Chatter::Result::Full:
        m_full = true;
        break;
    case Chatter::Result::Failed:
        rest(now, std::strerror(errno));
        break;
    }
}

void Server::rest(Clock::time_point now, const char *why)
{
    m_trace.log("-- master unusable, pausing:", why);
    m_writer.discard();
    m_full = false;
    m_paused_until = now + kHangUpPause;
}

// Sleeps through the time the adapter is gone; a stop signal still ends the process at once.
std::optional<int> stay_away(std::chrono::milliseconds how_long, int signal_fd)
{
    const auto until = Clock::now() + how_long;
    for (auto now = Clock::now(); now < until; now = Clock::now()) {
        pollfd stop{signal_fd, POLLIN, 0};
        const timespec timeout = to_timespec(until - now);
        const int ready = ppoll(&stop, 1, &timeout, nullptr);
        if (ready > 0)
            return 0;
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "quvex-sim: poll failed: %s\n", std::strerror(errno));
            return 1;
        }
    }
    return std::nullopt;
}

} // namespace

int serve(const Options &options, Unit &unit, Adapter &adapter, int signal_fd)
{
    // Paced bytes go out when ppoll wakes, and the default 50 us of timer slack made every
    // answer end that much later than on the wire; 1 ns is the least (0 restores the default).
    if (options.pacing || options.chatter)
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    FaultPlan faults(options.faults); // one count of lines across adapters, so the vanish comes once
    TraceLog trace(options.trace);
    for (;;) {
        if (const auto code = Server(options, unit, faults, adapter.pty()).run(signal_fd))
            return *code;
        trace.log("-- adapter pulled");
        adapter.unplug();
        if (const auto code = stay_away(std::chrono::milliseconds(options.vanish_for_ms), signal_fd))
            return *code;
        std::string error;
        if (!adapter.plug(error)) {
            std::fprintf(stderr, "quvex-sim: %s\n", error.c_str());
            return 1;
        }
        trace.log("-- adapter plugged in again");
    }
}

} // namespace quvex::sim
