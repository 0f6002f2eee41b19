#pragma once

#include "timer_probe.h"

#include <QString>
#include <QStringList>

namespace quvex::bench {

// One timed operation of the panel against one simulated unit.
struct Figures
{
    QString model;
    QString operation;
    // A silent unit has no wire time to compare with; its row is judged by the time-out.
    bool against_timeout = false;
    qint64 bytes_out = 0;
    qint64 bytes_in = 0;
    int exchanges = 0;
    double wall_ms = 0;
    double cpu_ms = 0;
    TimerDelays timer;
    // What the operator was told; anything in a row against a talking unit means it went wrong.
    QStringList messages;
};

// 8N1: a start bit, eight data bits and a stop bit for every byte.
inline constexpr double kByteMs = 10.0 * 1000 / 9600;
// The panel's longest wait for a write's acknowledgement: 11 ticks of Timer1.
inline constexpr double kWriteTimeoutMs = 1100;

inline constexpr double kWallLimit = 1.05;     // of the wire bound, or of the time-out
inline constexpr double kCpuLimitPercent = 3;  // of wall time
inline constexpr double kTimerP99LimitMs = 20; // lateness of the 10 ms probe timer

inline double wire_bound_ms(qint64 bytes_out, qint64 bytes_in)
{
    return double(bytes_out + bytes_in) * kByteMs;
}

inline double wire_bound_ms(const Figures &f)
{
    return wire_bound_ms(f.bytes_out, f.bytes_in);
}

// What the wall time is held against.
inline double reference_ms(const Figures &f)
{
    return f.against_timeout ? kWriteTimeoutMs : wire_bound_ms(f);
}

inline double cpu_percent(const Figures &f)
{
    return f.wall_ms > 0 ? 100 * f.cpu_ms / f.wall_ms : 0;
}

} // namespace quvex::bench
