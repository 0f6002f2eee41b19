#pragma once

#include "command_line.h"
#include "ports/port_list.h"

#include <functional>

namespace quvex::cli {

// Runs backup, changes, history or restore against the backup store and gives the exit code. A
// restore hands the version it chose to write, which runs a write invocation as write does.
int run_store_command(const Invocation &call, const ports::SystemPorts &system_ports,
                      const std::function<int(const Invocation &)> &write);

} // namespace quvex::cli
