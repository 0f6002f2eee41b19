#pragma once

#include <QString>

namespace quvex::app {

// The status line during a unit-wide run: "Reading 23 of 57: Pan X Pos:". A total of 0 is
// unknown and an empty name is no item; both are left out. An empty verb means the run is over.
QString progress_text(const QString &verb, int done, int total, const QString &item_name);

} // namespace quvex::app
