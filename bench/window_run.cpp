#include "window_run.h"

#include "app/main_window.h"
#include "app/wire_log_window.h"
#include "catalogue/catalogue.h"
#include "counting_port.h"
#include "figures.h"
#include "process_cpu.h"
#include "report.h"
#include "runs.h"
#include "serial/unit_line.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"
#include "support/sim_process.h"

#include <QEvent>
#include <QListWidget>

#include <algorithm>
#include <cstdio>
#include <map>

namespace quvex::bench {

namespace {

// Notes when the list is painted.
class PaintWatch final : public QObject
{
public:
    PaintWatch(QWidget &widget, const CountingPort &clock)
        : m_clock(clock)
    {
        widget.installEventFilter(this);
    }
    std::vector<double> paints_ms;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints_ms.push_back(m_clock.now_ms());
        return QObject::eventFilter(watched, event);
    }

private:
    const CountingPort &m_clock;
};

struct Window
{
    Window()
    {
        window.attach(session, settings);
        panel.Form_Load();
        window.show();
        // An answer's value goes to the line the list appends next.
        port.on_line_end = [this] { line_ends.push_back({port.now_ms(), list.count()}); };
    }

    struct LineEnd
    {
        double ms;
        int row;
    };

    serial::UnitLine serial{[this] { window.operator_side().process_events(); }};
    CountingPort port{serial};
    app::MainWindow window{[] {
        app::WindowHooks hooks = app::production_hooks();
        hooks.show_message = [](QWidget *, const QString &text, const QString &, link::MessageIcon, const QString &) {
            std::fprintf(stderr, "quvex-bench: the window said: %s\n", qPrintable(QString(text).replace(u'\r', u' ')));
        };
        return hooks;
    }()};
    session::UnitSession session{window.operator_side(), window.view(), &port};
    catalogue::Catalogue &catalogue = session.catalogue;
    catalogue::CurrentModel &model = session.model;
    link::Link &link = session.link;
    link::ModeBracket &bracket = session.bracket;
    panel::Panel &panel = session.panel;
    settings::SettingsFile settings{catalogue, bracket, window.operator_side(), panel, QString()};
    QListWidget &list = *window.findChild<QListWidget *>(QStringLiteral("menu_list"));
    PaintWatch paints{*list.viewport(), port};
    std::vector<LineEnd> line_ends;
};

// Runs the event loop as the idle window's would, so the window is shown and painted (before
// a run) and the last value of a run is painted.
void settle()
{
    run_events_for(100);
}

WindowFigures measure(Window &w, const QString &model, const QString &operation, const std::function<void()> &run)
{
    settle();
    w.port.reset_counts();
    w.line_ends.clear();
    w.paints.paints_ms.clear();
    const double cpu_before = process_cpu_ms();
    run();
    const double cpu_after = process_cpu_ms();
    settle();
    WindowFigures f;
    f.model = model;
    f.operation = operation;
    f.bytes_out = w.port.bytes_out();
    f.bytes_in = w.port.bytes_in();
    f.span_ms = w.port.span_ms();
    f.cpu_ms = cpu_after - cpu_before;
    // A write all shows nothing new: only its reads of the unit's mode end with an LF.
    f.shows_values = operation.startsWith(QStringLiteral("read all"));
    if (!f.shows_values)
        return f;
    // Lines below the list's lower edge are not shown until the operator scrolls there.
    const QListWidget &list = w.list;
    const int row_height = list.count() > 0 ? list.visualItemRect(list.item(0)).height() : 1;
    const int rows_in_sight = list.viewport()->height() / std::max(1, row_height);
    // A line's value comes with the last answer before it is appended; the answers before that
    // one (the unit's mode, read first for a picture item) show nothing.
    std::map<int, double> value_ends;
    for (const Window::LineEnd &line_end : w.line_ends)
        value_ends[line_end.row] = line_end.ms;
    for (const auto &[row, ms] : value_ends) {
        if (row > rows_in_sight)
            continue;
        const auto paint = std::lower_bound(w.paints.paints_ms.begin(), w.paints.paints_ms.end(), ms);
        f.worst_show_ms = std::max(f.worst_show_ms, paint == w.paints.paints_ms.end() ? 1e9 : *paint - ms);
    }
    return f;
}

} // namespace

bool run_window(int index, std::vector<WindowFigures> &rows, QString &error)
{
    const QString code = catalogue::unit_models().at(std::size_t(index)).code;
    test::SimProcess sim(simulator_arguments(code));
    if (!sim.start()) {
        error = sim.error();
        return false;
    }
    Window w;
    rows.push_back(measure(w, code, QStringLiteral("read all"), [&w, index] { w.panel.quvex_Click(index); }));
    if (!w.link.is_port_open()) {
        error = QStringLiteral("the window could not open COM 1 (%1)").arg(sim.device_path());
        return false;
    }
    rows.push_back(measure(w, code, QStringLiteral("write all"), [&w] { w.panel.write_unit_Click(); }));
    // The read all again with the wire log open, then closed: the log's cost is the difference,
    // with nothing done for the first time in either.
    const auto read_all = [&w, index] { w.panel.quvex_Click(index); };
    w.window.wire_log_window().show_beside_panel();
    rows.push_back(measure(w, code, QStringLiteral("read all, log open"), read_all));
    w.window.wire_log_window().hide();
    rows.push_back(measure(w, code, QStringLiteral("read all, log closed"), read_all));
    return true;
}

void print_window_table(const std::vector<WindowFigures> &rows)
{
    std::printf(
        "\nthrough the real window (offscreen); targets: span <= %.2f x wire bound, CPU <= %.0f %% of the span, "
        "each answer shown <= %.0f ms after its LF\n",
        kWallLimit, kWindowCpuLimitPercent, kShowLimitMs);
    std::printf("%-6s %-20s %9s %8s %13s %8s %11s %6s %13s  %-4s %-4s %-4s\n", "model", "op", "bytes out", "bytes in",
                "wire bound ms", "span ms", "span/bound", "CPU %", "worst show ms", "span", "CPU", "show");
    for (const WindowFigures &f : rows) {
        const double bound = wire_bound_ms(f.bytes_out, f.bytes_in);
        const double ratio = f.span_ms / bound;
        const double cpu = 100 * f.cpu_ms / f.span_ms;
        std::printf("%-6s %-20s %9lld %8lld %13.1f %8.1f %11.3f %6.2f %13s  %-4s %-4s %-4s\n", qPrintable(f.model),
                    qPrintable(f.operation), f.bytes_out, f.bytes_in, bound, f.span_ms, ratio, cpu,
                    f.shows_values ? qPrintable(QString::number(f.worst_show_ms, 'f', 2)) : "-",
                    verdict(ratio <= kWallLimit), verdict(cpu <= kWindowCpuLimitPercent),
                    f.shows_values ? verdict(f.worst_show_ms <= kShowLimitMs) : "-");
    }
    const auto cpu_percent = [](const WindowFigures &f) { return 100 * f.cpu_ms / f.span_ms; };
    for (const WindowFigures &open : rows) {
        const auto closed = std::find_if(rows.begin(), rows.end(), [&open](const WindowFigures &f) {
            return f.model == open.model && f.operation == QStringLiteral("read all, log closed");
        });
        if (open.operation != QStringLiteral("read all, log open") || closed == rows.end())
            continue;
        const double points = cpu_percent(open) - cpu_percent(*closed);
        std::printf("%s: the open wire log adds %+.2f CPU points to a read all (target <= %.0f)  %s\n",
                    qPrintable(open.model), points, kWireLogCpuPoints, verdict(points <= kWireLogCpuPoints));
    }
}

} // namespace quvex::bench
