#pragma once

#include "serial/unit_line.h"
#include "support/rig.h"

#include <QCoreApplication>

namespace quvex::test {

// The whole core on the real line (port N as linked, a device or a network port) and the real
// event loop, with Timer1 ticking: what the window runs, minus the widgets. Messages are recorded,
// never shown.
struct SerialRig : Core
{
    // The link talks through line when given (a benchmark counts bytes there), else through port.
    explicit SerialRig(link::Line *line = nullptr)
        : Core(line)
    {
        operator_side.on_process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
        panel.Form_Load();
    }

    serial::UnitLine &port = session.port;
};

} // namespace quvex::test
