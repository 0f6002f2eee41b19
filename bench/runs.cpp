#include "runs.h"

#include "bench_rig.h"
#include "process_cpu.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace quvex::bench {

namespace {

constexpr int kModelForSilence = 2; // QVM: the model only decides what the simulator knows

// Runs one operation on the rig while counting bytes, wall and CPU time and the probe timer's delays.
Figures measure(BenchRig &rig, const std::function<void()> &operation)
{
    rig.port.reset_counts();
    const qsizetype messages_before = rig.core.operator_side.messages.size();
    TimerProbe probe;

    const double cpu_before = process_cpu_ms();
    QElapsedTimer wall;
    wall.start();
    operation();
    const qint64 wall_ns = wall.nsecsElapsed();
    const double cpu_ms = process_cpu_ms() - cpu_before;

    Figures figures;
    figures.timer = probe.finish();
    figures.cpu_ms = cpu_ms;
    figures.wall_ms = double(wall_ns) / 1e6;
    figures.bytes_out = rig.port.bytes_out();
    figures.bytes_in = rig.port.bytes_in();
    figures.exchanges = rig.port.lines_sent();
    for (qsizetype i = messages_before; i < rig.core.operator_side.messages.size(); ++i)
        figures.messages.append(rig.core.operator_side.messages[i].text);
    return figures;
}

bool port_opened(const BenchRig &rig, test::SimProcess &sim, QString &error)
{
    if (rig.core.link.is_port_open())
        return true;
    error = QStringLiteral("the panel could not open COM 1 (%1): %2")
                .arg(sim.device_path(), QString::fromLocal8Bit(sim.process().readAllStandardError()));
    return false;
}

Figures named(Figures figures, const QString &model, const QString &operation)
{
    figures.model = model;
    figures.operation = operation;
    return figures;
}

} // namespace

QStringList simulator_arguments(const QString &code)
{
    return {QStringLiteral("--model"), code, QStringLiteral("--com"), QStringLiteral("1")};
}

void run_events_for(int ms)
{
    QEventLoop idle;
    QTimer::singleShot(ms, &idle, &QEventLoop::quit);
    idle.exec();
}

bool run_model(int index, std::vector<Figures> &rows, QString &error)
{
    const QString code = catalogue::unit_models().at(std::size_t(index)).code;
    test::SimProcess sim(simulator_arguments(code));
    if (!sim.start()) {
        error = sim.error();
        return false;
    }
    BenchRig rig;
    // Choosing the model opens the port and reads every item: the read all.
    const Figures read = measure(rig, [&rig, index] { rig.core.panel.quvex_Click(index); });
    if (!port_opened(rig, sim, error))
        return false;
    rows.push_back(named(read, code, QStringLiteral("read all")));
    rows.push_back(
        named(measure(rig, [&rig] { rig.core.panel.write_unit_Click(); }), code, QStringLiteral("write all")));
    return true;
}

bool run_silent_write(std::vector<Figures> &rows, QString &error)
{
    const QString code = catalogue::unit_models().at(std::size_t(kModelForSilence)).code;
    test::SimProcess sim(simulator_arguments(code) << QStringLiteral("--silent"));
    if (!sim.start()) {
        error = sim.error();
        return false;
    }
    BenchRig rig;
    rig.core.model.select(kModelForSilence);
    // Opening without the read all, which would spend a time-out on every item.
    rig.core.link.open_port();
    if (!port_opened(rig, sim, error))
        return false;
    Figures write =
        named(measure(rig, [&rig] { rig.core.panel.store_settings_Click(); }), code, QStringLiteral("silent write"));
    write.against_timeout = true;
    rows.push_back(write);
    return true;
}

} // namespace quvex::bench
