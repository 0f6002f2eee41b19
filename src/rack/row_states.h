#pragma once

#include "unit_row.h"

namespace quvex::rack {

// What a probe, a watch query or a run found of a row's unit, put into the row the same way
// whichever of them found it.
void mark_answers(UnitRow &row, int model_index);
// silent_since stays the moment it was first found silent, as long as it stays silent.
void mark_silent(UnitRow &row);
void mark_not_quvex(UnitRow &row);
// In use by another program, or will not open: the port layer's reason tells which.
void mark_not_opened(UnitRow &row, const QString &reason);

} // namespace quvex::rack
