#pragma once

#include "figures.h"

#include <vector>

namespace quvex::bench {

// Read all, then write all, against a simulator of unit model `index` (1..6) on COM 1.
// False, with the reason, when the simulator or the port could not be set up.
bool run_model(int index, std::vector<Figures> &rows, QString &error);

// One write to a simulator that never answers, so the panel waits out its whole time-out.
bool run_silent_write(std::vector<Figures> &rows, QString &error);

// The simulator paces both ways at 9600 baud by default, so a run takes the wire's time.
QStringList simulator_arguments(const QString &code);

// Handles events as they come for `ms` milliseconds, as the idle window's event loop would.
void run_events_for(int ms);

} // namespace quvex::bench
