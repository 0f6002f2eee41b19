#include "unit_session.h"

namespace quvex::cli {

UnitSession::UnitSession(int port_number, const QString &device, bool traced, bool quiet)
    : operator_side(quiet)
{
    if (traced)
        link.set_wire_observer(&wire_log);
    catalogue::build_catalogue(catalogue);
    if (device.isEmpty())
        link.commport_Change(QString::number(port_number));
    else
        port.set_device(device);
    panel.set_progress_hook([this](const QString &verb, int done, int total, const QString &item) {
        operator_side.show_progress(verb, done, total, item);
    });
    QObject::connect(&timer1, &QTimer::timeout, [this] { link.Timer1_Timer(); });
    timer1.start(link::Link::kTickMs);
}

} // namespace quvex::cli
