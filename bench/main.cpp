// quvex-bench: how close the panel's unit-wide operations come to the time the serial line
// itself needs at 9600 baud, and what they cost the event loop while they wait.
#include "backup_run.h"
#include "catalogue/unit_models.h"
#include "chatter_run.h"
#include "network_run.h"
#include "probe_run.h"
#include "rack_run.h"
#include "report.h"
#include "runs.h"
#include "window_run.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int fail(const QString &why)
{
    std::fprintf(stderr, "quvex-bench: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The window rows run the real window; no screen is needed for them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the panel itself draws: the classic style (see the panel's main()).
    if (QStyle *classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times read all and write all against quvex-sim (QUVEX_SIM, else the one built beside the bench) "
        "for every unit model, and one write to a silent unit, and read all and write all of QVM through ser2net "
        "on loopback, and prints the figures against their targets; "
        "then keeps the port idle for 10 s while the unit chatters and prints the panel's memory; "
        "then finds the units on eight ports, four of them silent; last backs up one unit and sixteen with "
        "quvexctl backup --all, and one and sixteen with the rack, which then watches the sixteen."));
    parser.addHelpOption();
    const QCommandLineOption window_only(QStringLiteral("window-only"),
                                         QStringLiteral("Only the rows through the real window (for a profiler)."));
    parser.addOption(window_only);
    const QCommandLineOption network_only(QStringLiteral("network-only"),
                                          QStringLiteral("Only the rows through ser2net."));
    parser.addOption(network_only);
    const QCommandLineOption backup_only(QStringLiteral("backup-only"),
                                         QStringLiteral("Only the row of quvexctl backup --all."));
    parser.addOption(backup_only);
    const QCommandLineOption rack_only(QStringLiteral("rack-only"),
                                       QStringLiteral("Only the rows of the rack: its backup and its watch."));
    parser.addOption(rack_only);
    parser.process(app);

    // The panel and the simulators meet through the port links in a folder of the bench's own,
    // so a panel or simulator the user has running is neither used nor disturbed.
    QTemporaryDir config;
    if (!config.isValid())
        return fail(QStringLiteral("cannot create a temporary folder: ") + config.errorString());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QUVEX_SIM"))
        qputenv("QUVEX_SIM", QUVEX_SIM_BUILT);

    quvex::bench::print_load();
    std::fflush(stdout);

    QString error;
    quvex::bench::BackupFigures backup;
    if (parser.isSet(backup_only)) {
        if (!quvex::bench::run_backup(backup, error))
            return fail(error);
        quvex::bench::print_backup(backup);
        return 0;
    }
    quvex::bench::RackFigures rack;
    if (parser.isSet(rack_only)) {
        if (!quvex::bench::run_rack(rack, error))
            return fail(error);
        quvex::bench::print_rack(rack);
        return 0;
    }
    std::vector<quvex::bench::NetworkFigures> network_rows;
    for (const bool as_shipped : {false, true}) {
        if (!quvex::bench::run_network(2, as_shipped, network_rows, error)) // QVM
            return fail(error);
    }
    if (parser.isSet(network_only)) {
        quvex::bench::print_network_table(network_rows);
        return 0;
    }

    std::vector<quvex::bench::WindowFigures> window_rows;
    for (const int index : {2, 1}) { // QVM, the largest, and QVL, the smallest
        if (!quvex::bench::run_window(index, window_rows, error))
            return fail(error);
    }
    if (parser.isSet(window_only)) {
        quvex::bench::print_window_table(window_rows);
        return 0;
    }

    std::vector<quvex::bench::Figures> rows;
    for (int index = 1; index < quvex::catalogue::kUnitModelCount; ++index) {
        if (!quvex::bench::run_model(index, rows, error))
            return fail(error);
    }
    if (!quvex::bench::run_silent_write(rows, error))
        return fail(error);

    quvex::bench::ChatterFigures chatter;
    if (!quvex::bench::run_chatter_idle(10, chatter, error))
        return fail(error);
    quvex::bench::ProbeFigures probe;
    if (!quvex::bench::run_probe(probe, error))
        return fail(error);

    quvex::bench::print_table(rows);
    quvex::bench::print_notes(rows);
    quvex::bench::print_window_table(window_rows);
    quvex::bench::print_network_table(network_rows);
    quvex::bench::print_chatter(chatter);
    if (!quvex::bench::run_backup(backup, error))
        return fail(error);
    quvex::bench::print_probe(probe);
    quvex::bench::print_backup(backup);
    if (!quvex::bench::run_rack(rack, error))
        return fail(error);
    quvex::bench::print_rack(rack);
    return 0;
}
