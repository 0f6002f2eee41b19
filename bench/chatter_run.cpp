#include "chatter_run.h"

#include "bench_rig.h"
#include "process_cpu.h"
#include "runs.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace quvex::bench {

namespace {

qint64 resident_kb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

bool run_chatter_idle(double seconds, ChatterFigures &figures, QString &error)
{
    test::SimProcess sim({QStringLiteral("--com"), QStringLiteral("1"), QStringLiteral("--chatter")});
    if (!sim.start()) {
        error = sim.error();
        return false;
    }
    BenchRig rig;
    rig.core.link.open_port();
    if (!rig.core.link.is_port_open()) {
        error = QStringLiteral("the panel could not open COM 1 (%1)").arg(sim.device_path());
        return false;
    }
    figures.seconds = seconds;
    figures.rss_before_kb = resident_kb();
    const double cpu_before = process_cpu_ms();
    QElapsedTimer wall;
    wall.start();
    // As the window idles: nothing asked of the unit.
    run_events_for(int(seconds * 1000));
    figures.cpu_percent = 100 * (process_cpu_ms() - cpu_before) / double(wall.elapsed());
    figures.rss_after_kb = resident_kb();
    figures.bytes_buffered = rig.serial.bytes_waiting();
    return true;
}

void print_chatter(const ChatterFigures &f)
{
    std::printf("\nchatter while idle (960 bytes/s for %.0f s): resident %lld kB before, %lld kB after; "
                "%lld bytes held by the port; CPU %.2f %%\n",
                f.seconds, f.rss_before_kb, f.rss_after_kb, f.bytes_buffered, f.cpu_percent);
}

} // namespace quvex::bench
