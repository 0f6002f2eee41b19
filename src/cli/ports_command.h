#pragma once

#include <QByteArray>

namespace quvex::cli {

// What `quvexctl ports` prints: one line per candidate port (number or "-", device,
// description), with --probe the probe's result as a fourth column; or one JSON object.
QByteArray ports_report(bool probe, bool json);

} // namespace quvex::cli
