#include "support/serial_rig.h"

#include <QCoreApplication>

namespace quvex::test {

SerialRig::SerialRig(link::SerialPort *line)
    : link(line ? *line : port, operator_side)
{
    catalogue::build_catalogue(catalogue);
    operator_side.on_process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    QObject::connect(&timer1, &QTimer::timeout, [this] { link.Timer1_Timer(); });
    timer1.start(100);
    panel.Form_Load();
}

} // namespace quvex::test
