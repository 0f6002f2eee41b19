#pragma once

#include <QString>

namespace quvex::bench {

// Find units over eight ports: four with units that answer at 9600 baud, four silent.
struct ProbeFigures
{
    int ports = 0;
    int found = 0;
    int silent = 0;
    double wall_ms = 0;
};

inline constexpr double kProbeWallLimitMs = 1000;

bool run_probe(ProbeFigures &figures, QString &error);
void print_probe(const ProbeFigures &figures);

} // namespace quvex::bench
