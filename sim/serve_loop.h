#pragma once

#include "sim/adapter.h"
#include "sim/options.h"
#include "sim/unit.h"

namespace quvex::sim {

// Answers the panel on the adapter's pty master until a byte arrives on signal_fd; gives the exit code.
int serve(const Options &options, Unit &unit, Adapter &adapter, int signal_fd);

} // namespace quvex::sim
