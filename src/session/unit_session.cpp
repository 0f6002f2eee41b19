#include "unit_session.h"

#include "link/stop_signals.h"

namespace quvex::session {

UnitSession::UnitSession(link::OperatorSide &operator_side, panel::PanelView &view, link::Line *line)
    : port([&operator_side] { operator_side.process_events(); })
    , link(line ? *line : port, operator_side)
    , panel(catalogue, model, link, bracket, operator_side, view)
{
    catalogue::build_catalogue(catalogue);
    timer1.setObjectName(QStringLiteral("Timer1"));
    QObject::connect(&timer1, &QTimer::timeout, [this] { link.Timer1_Timer(); });
    timer1.start(link::Link::kTickMs);
}

void UnitSession::use_port(int number, const QString &device)
{
    if (device.isEmpty())
        link.commport_Change(QString::number(number));
    else
        port.set_device(device);
}

void UnitSession::stop_when(const std::atomic<bool> &stopping)
{
    link.set_stop_poll([this, &stopping] {
        if (stopping)
            link.request_stop();
    });
}

void UnitSession::stop_on(link::StopSignals &signals, std::function<void()> stop, std::function<void()> last_words)
{
    signals.install(std::move(stop), [this, last_words = std::move(last_words)] {
        if (last_words)
            last_words();
        if (const QString left = panel.unit_mode_left(); !left.isEmpty())
            tell_mode(left);
        link.close_port();
    });
    link.set_stop_poll([&signals] { signals.deliver(); });
}

void UnitSession::end_run()
{
    if (link.stop_requested())
        panel.end_stopped_session();
    if (const QString left = panel.unit_mode_left(); !left.isEmpty())
        tell_mode(left);
}

} // namespace quvex::session
