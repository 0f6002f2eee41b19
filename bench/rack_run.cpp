#include "rack_run.h"

#include "backup/backup_store.h"
#include "process_cpu.h"
#include "rack/rack.h"
#include "rack/unit_names.h"
#include "report.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace quvex::bench {

namespace {

// The rows' probe of a refresh, to its end.
void refreshed(rack::Rack &rack)
{
    rack.refresh();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&rack, &loop] {
        if (std::none_of(rack.rows().cbegin(), rack.rows().cend(),
                         [](const rack::UnitRow &row) { return row.state == rack::UnitState::NotAsked; }))
            loop.quit();
    });
    poll.start(10);
    loop.exec();
}

// One backup of these rows into a store of its own: its wall time, and the CPU of the process and
// of the panel's own thread, which runs the rack and would run the window.
double timed_backup(const QString &store_path, rack::UnitNames &names, const QList<int> &rows, double &cpu,
                    double &panel_cpu, int &backed_up)
{
    backup::BackupStore store(store_path);
    rack::Rack rack([] { return QList<ports::SystemPort>(); }, names, store);
    refreshed(rack);
    QEventLoop loop;
    QObject::connect(&rack, &rack::Rack::run_finished, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpu_before = process_cpu_ms();
    const double panel_before = thread_cpu_ms();
    wall.start();
    rack.back_up(rows);
    loop.exec();
    const double ms = double(wall.nsecsElapsed()) / 1e6;
    cpu = (process_cpu_ms() - cpu_before) / ms * 100;
    panel_cpu = (thread_cpu_ms() - panel_before) / ms * 100;
    backed_up = int(std::count_if(rack.rows().cbegin(), rack.rows().cend(),
                                  [](const rack::UnitRow &row) { return row.outcome == u"new version"; }));
    return ms;
}

} // namespace

bool run_rack(RackFigures &figures, QString &error)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        error = QStringLiteral("cannot make a temporary folder");
        return false;
    }
    std::vector<std::unique_ptr<test::SimProcess>> sims;
    for (int number = 1; number <= figures.units; ++number) {
        sims.push_back(std::make_unique<test::SimProcess>(QStringList{
            QStringLiteral("--com"), QString::number(number), QStringLiteral("--model"), QStringLiteral("QVM")}));
        if (!sims.back()->start()) {
            error = sims.back()->error();
            return false;
        }
    }
    rack::UnitNames names(folder.filePath(QStringLiteral("names")));
    QList<int> all;
    for (int row = 0; row < figures.units; ++row)
        all.append(row);
    for (int run = 0; run < figures.runs; ++run) {
        int one = 0;
        double one_panel = 0;
        figures.one_ms[run] = timed_backup(folder.filePath(QStringLiteral("one-%1").arg(run)), names, {0},
                                           figures.one_cpu[run], one_panel, one);
        figures.many_ms[run] = timed_backup(folder.filePath(QStringLiteral("many-%1").arg(run)), names, all,
                                            figures.many_cpu[run], figures.panel_cpu[run], figures.backed_up);
    }

    backup::BackupStore store(folder.filePath(QStringLiteral("watched")));
    rack::Rack rack([] { return QList<ports::SystemPort>(); }, names, store);
    refreshed(rack);
    rack.start_watch();
    QEventLoop loop;
    QTimer::singleShot(int(figures.watch_s * 1000), &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpu_before = process_cpu_ms();
    wall.start();
    loop.exec();
    figures.watch_cpu = (process_cpu_ms() - cpu_before) / (double(wall.nsecsElapsed()) / 1e6) * 100;
    figures.watch_answers = int(std::count_if(rack.rows().cbegin(), rack.rows().cend(), [](const rack::UnitRow &row) {
        return row.state == rack::UnitState::Answers;
    }));
    return true;
}

void print_rack(const RackFigures &f)
{
    const double ratio = median(f.many_ms) / median(f.one_ms);
    const double panel = median(f.panel_cpu);
    std::printf("\nthe rack backs up QVM at 9600 baud (median of %d runs): 1 unit %.1f ms, %d units %.1f ms "
                "(%d backed up), %.3f x, target <= %.2f x  %s; the panel's thread's CPU %.2f %%, target <= %.1f %%  "
                "%s; the whole process's %.2f %% (1 unit %.2f %%)\n",
                f.runs, median(f.one_ms), f.units, median(f.many_ms), f.backed_up, ratio, kRackBackupRatioLimit,
                verdict(ratio <= kRackBackupRatioLimit && f.backed_up == f.units), panel, kRackBackupCpuLimit,
                verdict(panel <= kRackBackupCpuLimit), median(f.many_cpu), median(f.one_cpu));
    std::printf("the rack watches %d idle units for %.0f s (%d answer): CPU %.3f %%, target < %.1f %%  %s\n", f.units,
                f.watch_s, f.watch_answers, f.watch_cpu, kRackWatchCpuLimit,
                verdict(f.watch_cpu < kRackWatchCpuLimit && f.watch_answers == f.units));
}

} // namespace quvex::bench
