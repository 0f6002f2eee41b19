#pragma once

#include "serial/unit_line.h"
#include "support/rig.h"

#include <QCoreApplication>
#include <QTimer>

namespace quvex::test {

struct SerialLine
{
    serial::UnitLine port{[] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }};
};

// The whole core on the real line (port N as linked, a device or a network port) and the real event loop, with the 100
// ms Timer1: what the window runs, minus the widgets. Messages are recorded, never shown.
struct SerialRig : SerialLine, Core
{
    // The link talks through line when given (a benchmark counts bytes there), else through port.
    explicit SerialRig(link::Line *line = nullptr)
        : Core(line ? *line : port)
    {
        operator_side.on_process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
        QObject::connect(&timer1, &QTimer::timeout, [this] { link.Timer1_Timer(); });
        timer1.start(link::Link::kTickMs);
        panel.Form_Load();
    }

    QTimer timer1;
};

} // namespace quvex::test
