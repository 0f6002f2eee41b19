#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <vector>

namespace quvex::bench {

struct TimerDelays
{
    double p99_ms = 0;
    double worst_ms = 0;
};

// A repeating 10 ms timer in the panel's event loop that stands in for the window's repainting:
// how late it fires shows how long the loop was kept from handling events. Ticks from birth.
class TimerProbe
{
public:
    static constexpr int kIntervalMs = 10;

    TimerProbe();
    // Stops the ticks. A delay is the interval since the tick before, less the 10 ms asked for.
    TimerDelays finish();

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last_ns = 0;
    std::vector<double> m_delays_ms;
};

} // namespace quvex::bench
