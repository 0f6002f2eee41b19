#pragma once

#include <QString>

namespace quvex::serial {

// Folder of per-user port links: a link comN there names the device of port number N.
QString ports_folder();

// The serial device that port number N means: "COMN" on Windows; elsewhere the target of the
// link comN in ports_folder(), or /dev/ttyS<N-1> without one.
QString port_device(int number);

} // namespace quvex::serial
