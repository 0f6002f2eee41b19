#pragma once

#include <QString>

#include <vector>

namespace quvex::bench {

// Read all and write all of one model through the real window (offscreen), as an operator's
// panel runs them: the list repainted, the status line counting, the window locked; then the
// read all again with the wire log open beside the panel, and once more with it closed.
struct WindowFigures
{
    QString model;
    QString operation;
    qint64 bytes_out = 0;
    qint64 bytes_in = 0;
    double span_ms = 0;       // from the first byte sent to the last byte received
    double cpu_ms = 0;        // the panel's process over the span
    double worst_show_ms = 0; // from an answer's LF to the list's next repaint, the worst in sight
    // Only a read all puts new values in the list; the other rows have no show time.
    bool shows_values = false;
};

inline constexpr double kWindowCpuLimitPercent = 5;
inline constexpr double kShowLimitMs = 50;
// What the open wire log may add to a read all's CPU, in points of the span.
inline constexpr double kWireLogCpuPoints = 1;

bool run_window(int index, std::vector<WindowFigures> &rows, QString &error);
void print_window_table(const std::vector<WindowFigures> &rows);

} // namespace quvex::bench
