#pragma once

#include "counting_port.h"
#include "serial/unit_line.h"
#include "support/serial_rig.h"

namespace quvex::bench {

// The core on the real line, with the counting port between the link and the line.
struct BenchRig
{
    serial::UnitLine serial{[] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }};
    CountingPort port{serial};
    test::SerialRig core{&port};
};

} // namespace quvex::bench
