#pragma once

#include "sim/options.h"
#include "sim/unit.h"

namespace quvex::sim {

// Answers the panel on the pty master until a byte arrives on signal_fd; gives the exit code.
int serve(const Options& options, Unit& unit, int master, int signal_fd);

} // namespace quvex::sim
