#pragma once

#include "ports/port_list.h"

#include <QByteArray>

namespace quvex::cli {

// What `quvexctl ports` prints: one line per candidate port (number or "-", device,
// description), with --probe the probe's result as a fourth column; or one JSON object.
QByteArray ports_report(const ports::SystemPorts &system_ports, bool probe, bool json);

} // namespace quvex::cli
