#include "network_run.h"

#include "bench_rig.h"
#include "catalogue/unit_models.h"
#include "figures.h"
#include "ports/port_device.h"
#include "process_cpu.h"
#include "report.h"
#include "runs.h"
#include "support/ser2net_process.h"
#include "support/sim_process.h"

#include <QFile>
#include <QScopeGuard>

#include <cstdio>
#include <functional>

namespace quvex::bench {

namespace {

NetworkFigures measure(BenchRig &rig, const QString &model, const QString &operation, const std::function<void()> &run)
{
    rig.port.reset_counts();
    const double cpu_before = process_cpu_ms();
    run();
    NetworkFigures f;
    f.cpu_ms = process_cpu_ms() - cpu_before;
    f.model = model;
    f.operation = operation;
    f.bytes_out = rig.port.bytes_out();
    f.bytes_in = rig.port.bytes_in();
    f.span_ms = rig.port.span_ms();
    return f;
}

} // namespace

bool run_network(int index, bool as_shipped, std::vector<NetworkFigures> &rows, QString &error)
{
    const QString code = catalogue::unit_models().at(std::size_t(index)).code;
    // Without --com: port 1 is made to name the server instead.
    test::SimProcess sim({QStringLiteral("--model"), code});
    if (!sim.start()) {
        error = sim.error();
        return false;
    }
    test::Ser2netProcess server(sim.device_path(), {.banner = {}, .as_shipped = as_shipped});
    if (!server.start()) {
        error = server.error();
        return false;
    }
    if (const QString failure = ports::link_port(1, server.target()); !failure.isEmpty()) {
        error = failure;
        return false;
    }
    // The runs after this one link port 1 to a simulator of their own.
    const auto unlink = qScopeGuard([] { QFile::remove(ports::port_link_path(1)); });
    BenchRig rig;
    const std::size_t first = rows.size();
    // Choosing the model connects and reads every item; the span starts at the first line.
    rows.push_back(
        measure(rig, code, QStringLiteral("read all"), [&rig, index] { rig.core.panel.quvex_Click(index); }));
    if (!rig.core.link.is_port_open()) {
        error = QStringLiteral("the panel could not connect to %1: %2").arg(server.target(), rig.port.open_failure());
        return false;
    }
    rows.push_back(measure(rig, code, QStringLiteral("write all"), [&rig] { rig.core.panel.write_unit_Click(); }));
    for (std::size_t i = first; i < rows.size(); ++i)
        rows[i].as_shipped = as_shipped;
    if (!rig.core.operator_side.messages.isEmpty()) {
        error = QStringLiteral("the panel said: ") + rig.core.operator_side.messages.constFirst().text;
        return false;
    }
    return true;
}

void print_network_table(const std::vector<NetworkFigures> &rows)
{
    std::printf(
        "\nthrough ser2net on loopback (raw TCP); targets: span <= %.2f x wire bound, CPU <= %.0f %% of the "
        "span\n\"set up\": tcp(nodelay) and chardelay false, as documented; \"as shipped\": ser2net's defaults, "
        "which hold each answer back a few ms\n",
        kWallLimit, kCpuLimitPercent);
    std::printf("%-6s %-10s %-10s %9s %8s %13s %8s %11s %6s  %-4s %-4s\n", "model", "op", "ser2net", "bytes out",
                "bytes in", "wire bound ms", "span ms", "span/bound", "CPU %", "span", "CPU");
    for (const NetworkFigures &f : rows) {
        const double bound = wire_bound_ms(f.bytes_out, f.bytes_in);
        const double ratio = f.span_ms / bound;
        const double cpu = 100 * f.cpu_ms / f.span_ms;
        std::printf("%-6s %-10s %-10s %9lld %8lld %13.1f %8.1f %11.3f %6.2f  %-4s %-4s\n", qPrintable(f.model),
                    qPrintable(f.operation), f.as_shipped ? "as shipped" : "set up", f.bytes_out, f.bytes_in, bound,
                    f.span_ms, ratio, cpu, verdict(ratio <= kWallLimit), verdict(cpu <= kCpuLimitPercent));
    }
}

} // namespace quvex::bench
