#pragma once

#include "counting_port.h"
#include "serial/qt_serial_port.h"
#include "support/serial_rig.h"

namespace quvex::bench {

// The core on the real serial port, with the counting port between the link and QSerialPort.
struct BenchRig
{
    serial::QtSerialPort serial;
    CountingPort port{serial};
    test::SerialRig core{&port};
};

} // namespace quvex::bench
