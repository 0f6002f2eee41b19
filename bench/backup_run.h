#pragma once

#include <QString>

namespace quvex::bench {

// quvexctl backup --all over one unit and over sixteen, each a QVM paced at 9600 baud: every
// unit is read on a thread of its own, so sixteen should take the time of one.
struct BackupFigures
{
    int units = 16;
    int runs = 3;
    double one_ms[3] = {};  // each run's wall time with one unit
    double many_ms[3] = {}; // and with sixteen
    int backed_up = 0;      // units of the last run of sixteen that got a new version
};

inline constexpr double kBackupRatioLimit = 1.05;

bool run_backup(BackupFigures &figures, QString &error);
void print_backup(const BackupFigures &figures);

} // namespace quvex::bench
