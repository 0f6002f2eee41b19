#pragma once

#include <QString>

namespace quvex::bench {

// The rack over sixteen QVM units paced at 9600 baud, in this process: backing up one unit and
// all sixteen (each on a thread of its own, so sixteen should take the time of one), and the
// watch of the sixteen idle units at its default interval.
struct RackFigures
{
    int units = 16;
    int runs = 3;
    double one_ms[3] = {};    // each backup's wall time with one unit
    double many_ms[3] = {};   // and with sixteen
    double one_cpu[3] = {};   // the process's CPU during the backup of one, % of its wall time
    double many_cpu[3] = {};  // and of sixteen
    double panel_cpu[3] = {}; // the panel's own thread during the backup of sixteen, % of its wall time
    int backed_up = 0;        // units of the last run of sixteen that were backed up
    double watch_s = 25;      // how long the watch ran
    double watch_cpu = 0;     // the process's CPU while it watched, % of that time
    int watch_answers = 0;    // rows that answer at its end
};

inline constexpr double kRackBackupRatioLimit = 1.05;
inline constexpr double kRackBackupCpuLimit = 5;
inline constexpr double kRackWatchCpuLimit = 0.5;

bool run_rack(RackFigures &figures, QString &error);
void print_rack(const RackFigures &figures);

} // namespace quvex::bench
