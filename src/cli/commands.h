#pragma once

#include "command_line.h"
#include "ports/port_list.h"

namespace quvex::cli {

// Runs one invocation against the unit and gives its exit code. Data goes to standard output,
// everything else to standard error.
int run_command(const Invocation &call, const ports::SystemPorts &system_ports);

} // namespace quvex::cli
