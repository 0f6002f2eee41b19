#include "timer_probe.h"

#include <algorithm>
#include <cmath>

namespace quvex::bench {

TimerProbe::TimerProbe()
{
    // A coarse timer may legally fire 5 % late, which would hide the loop's own delays.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        const qint64 now_ns = m_clock.nsecsElapsed();
        m_delays_ms.push_back(double(now_ns - m_last_ns) / 1e6 - kIntervalMs);
        m_last_ns = now_ns;
    });
    m_clock.start();
    m_timer.start(kIntervalMs);
}

TimerDelays TimerProbe::finish()
{
    m_timer.stop();
    if (m_delays_ms.empty())
        return {};
    std::sort(m_delays_ms.begin(), m_delays_ms.end());
    const auto rank = std::size_t(std::ceil(0.99 * double(m_delays_ms.size())));
    return {m_delays_ms[std::max<std::size_t>(rank, 1) - 1], m_delays_ms.back()};
}

} // namespace quvex::bench
