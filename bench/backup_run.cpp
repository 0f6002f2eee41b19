#include "backup_run.h"

#include "report.h"
#include "support/sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace quvex::bench {

namespace {

// One run of quvexctl backup --all with the ports folder of config, into a store of its own;
// its wall time, or a negative one after saying why in error.
double timed_backup(const QString &config, const QString &store, int &backed_up, QString &error)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    process.setProcessEnvironment(environment);
    QElapsedTimer wall;
    wall.start();
    process.start(QStringLiteral(QUVEXCTL_BUILT),
                  {QStringLiteral("backup"), QStringLiteral("--all"), QStringLiteral("--to"), store});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        error = QStringLiteral("quvexctl backup --all: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return -1;
    }
    const double ms = double(wall.nsecsElapsed()) / 1e6;
    backed_up = int(process.readAllStandardOutput().count("\tnew version\n"));
    return ms;
}

} // namespace

bool run_backup(BackupFigures &figures, QString &error)
{
    QTemporaryDir folder;
    std::vector<std::unique_ptr<test::SimProcess>> sims;
    const QString one = folder.filePath(QStringLiteral("one/quvex/ports"));
    const QString many = folder.filePath(QStringLiteral("many/quvex/ports"));
    if (!folder.isValid() || !QDir().mkpath(one) || !QDir().mkpath(many)) {
        error = QStringLiteral("cannot make the ports folders");
        return false;
    }
    for (int number = 1; number <= figures.units; ++number) {
        sims.push_back(
            std::make_unique<test::SimProcess>(QStringList{QStringLiteral("--model"), QStringLiteral("QVM")}));
        if (!sims.back()->start()) {
            error = sims.back()->error();
            return false;
        }
        const QString link = QStringLiteral("/com%1").arg(number);
        if (!QFile::link(sims.back()->device_path(), many + link)
            || (number == 1 && !QFile::link(sims.back()->device_path(), one + link))) {
            error = QStringLiteral("cannot link the ports");
            return false;
        }
    }
    for (int run = 0; run < figures.runs; ++run) {
        int backed_up = 0;
        figures.one_ms[run] = timed_backup(folder.filePath(QStringLiteral("one")),
                                           folder.filePath(QStringLiteral("store-one-%1").arg(run)), backed_up, error);
        figures.many_ms[run] =
            timed_backup(folder.filePath(QStringLiteral("many")),
                         folder.filePath(QStringLiteral("store-many-%1").arg(run)), figures.backed_up, error);
        if (figures.one_ms[run] < 0 || figures.many_ms[run] < 0)
            return false;
    }
    return true;
}

void print_backup(const BackupFigures &f)
{
    const double ratio = median(f.many_ms) / median(f.one_ms);
    std::printf("\nbackup --all, QVM at 9600 baud (median of %d runs): 1 unit %.1f ms, %d units %.1f ms "
                "(%d new versions), %.3f x, target <= %.2f x  %s\n",
                f.runs, median(f.one_ms), f.units, median(f.many_ms), f.backed_up, ratio, kBackupRatioLimit,
                verdict(ratio <= kBackupRatioLimit && f.backed_up == f.units));
}

} // namespace quvex::bench
