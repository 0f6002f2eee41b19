#pragma once

#include "figures.h"

#include <vector>

namespace quvex::bench {

// Read all, then write all, against a simulator of unit model `index` (1..6) on COM 1.
// False, with the reason, when the simulator or the port could not be set up.
bool run_model(int index, std::vector<Figures> &rows, QString &error);

// One write to a simulator that never answers, so the panel waits out its whole time-out.
bool run_silent_write(std::vector<Figures> &rows, QString &error);

} // namespace quvex::bench
