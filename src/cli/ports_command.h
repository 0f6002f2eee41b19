#pragma once

#include "ports/port_list.h"
#include "rack/unit_names.h"

#include <QByteArray>

namespace quvex::cli {

// What `quvexctl ports` prints: one line per candidate port (number or "-", device,
// description), with --probe the probe's result as a fourth column, and last the name the
// operator gave its unit (empty: none); or one JSON object.
QByteArray ports_report(const ports::SystemPorts &system_ports, bool probe, bool json, const rack::UnitNames &names);

} // namespace quvex::cli
