#include "probe_run.h"

#include "catalogue/unit_models.h"
#include "probe/port_probe.h"
#include "report.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdio>
#include <memory>
#include <vector>

namespace quvex::bench {

bool run_probe(ProbeFigures &figures, QString &error)
{
    std::vector<std::unique_ptr<test::SimProcess>> sims;
    for (int number = 1; number <= 8; ++number) {
        // Units of four models on the odd numbers, silent ones between them.
        QStringList arguments{QStringLiteral("--com"), QString::number(number)};
        if (number % 2 == 1)
            arguments << QStringLiteral("--model") << catalogue::unit_models().at(std::size_t(number / 2 + 1)).code;
        else
            arguments << QStringLiteral("--silent");
        sims.push_back(std::make_unique<test::SimProcess>(arguments));
        if (!sims.back()->start()) {
            error = sims.back()->error();
            return false;
        }
    }
    // The ports the links name; the machine's own serial ports are not the bench's to probe.
    const QList<ports::PortEntry> entries = ports::list_ports({});
    probe::PortProber prober;
    QEventLoop done;
    QObject::connect(&prober, &probe::PortProber::probed, [&figures](const probe::ProbeResult &result) {
        figures.found += result.outcome == probe::ProbeOutcome::Found;
        figures.silent += result.outcome == probe::ProbeOutcome::NoAnswer;
    });
    QObject::connect(&prober, &probe::PortProber::finished, &done, &QEventLoop::quit);
    QElapsedTimer wall;
    wall.start();
    prober.start(entries);
    done.exec();
    figures.wall_ms = double(wall.nsecsElapsed()) / 1e6;
    figures.ports = int(entries.size());
    return true;
}

void print_probe(const ProbeFigures &f)
{
    std::printf("\nfind units over %d ports (%d units found, %d silent): wall %.1f ms, target <= %.0f ms  %s\n",
                f.ports, f.found, f.silent, f.wall_ms, kProbeWallLimitMs, verdict(f.wall_ms <= kProbeWallLimitMs));
}

} // namespace quvex::bench
