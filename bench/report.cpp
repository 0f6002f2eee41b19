#include "report.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace quvex::bench {

void print_load()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    const QList<QByteArray> load = file.open(QIODevice::ReadOnly) ? file.readAll().split(' ') : QList<QByteArray>{};
    std::printf("load average %s %s %s (1, 5, 15 min) on %d cores\n", load.value(0, "?").constData(),
                load.value(1, "?").constData(), load.value(2, "?").constData(), QThread::idealThreadCount());
    std::printf("targets: wall <= %.2f x wire bound (silent unit: <= %.2f x %.0f ms time-out), CPU <= %.0f %%, "
                "timer p99 <= %.0f ms\n\n",
                kWallLimit, kWallLimit, kWriteTimeoutMs, kCpuLimitPercent, kTimerP99LimitMs);
}

void print_table(const std::vector<Figures> &rows)
{
    std::printf("%-6s %-12s %9s %8s %13s %8s %11s %6s %12s %14s  %-4s %-4s %-4s\n", "model", "op", "bytes out",
                "bytes in", "wire bound ms", "wall ms", "wall/bound", "CPU %", "timer p99 ms", "timer worst ms", "wall",
                "CPU", "p99");
    for (const Figures &f : rows) {
        const double ratio = f.wall_ms / reference_ms(f);
        std::printf("%-6s %-12s %9lld %8lld %13.1f %8.1f %9.3f%-2s %6.2f %12.2f %14.2f  %-4s %-4s %-4s\n",
                    qPrintable(f.model), qPrintable(f.operation), f.bytes_out, f.bytes_in, wire_bound_ms(f), f.wall_ms,
                    ratio, f.against_timeout ? " t" : "", cpu_percent(f), f.timer.p99_ms, f.timer.worst_ms,
                    verdict(ratio <= kWallLimit), verdict(cpu_percent(f) <= kCpuLimitPercent),
                    verdict(f.timer.p99_ms <= kTimerP99LimitMs));
    }
    std::printf("t: against the %.0f ms time-out, as a silent unit puts nothing on the wire to wait for\n",
                kWriteTimeoutMs);
}

void print_notes(const std::vector<Figures> &rows)
{
    double over_ms = 0;
    int exchanges = 0;
    for (const Figures &f : rows) {
        if (f.against_timeout)
            continue;
        over_ms += f.wall_ms - wire_bound_ms(f);
        exchanges += f.exchanges;
    }
    if (exchanges > 0)
        std::printf("beyond the wire bound: %.0f us per exchange on average, over %d exchanges\n",
                    1000 * over_ms / exchanges, exchanges);
    for (const Figures &f : rows) {
        if (!f.messages.isEmpty())
            std::printf("%s %s told the operator: %s\n", qPrintable(f.model), qPrintable(f.operation),
                        qPrintable(f.messages.join(QStringLiteral(" | ")).replace(u'\r', u' ')));
    }
}

double median(const double (&values)[3])
{
    double sorted[3] = {values[0], values[1], values[2]};
    std::sort(sorted, sorted + 3);
    return sorted[1];
}

const char *verdict(bool met)
{
    return met ? "PASS" : "MISS";
}

} // namespace quvex::bench
