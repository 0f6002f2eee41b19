#pragma once

#include <QString>

namespace quvex::bench {

// The panel's port open and idle while the unit sends on its own at 960 bytes/s.
struct ChatterFigures
{
    double seconds = 0;
    qint64 rss_before_kb = 0;
    qint64 rss_after_kb = 0;
    qint64 bytes_buffered = 0; // what the port object holds at the end
    double cpu_percent = 0;
};

bool run_chatter_idle(double seconds, ChatterFigures &figures, QString &error);
void print_chatter(const ChatterFigures &figures);

} // namespace quvex::bench
