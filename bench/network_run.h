#pragma once

#include <QString>

#include <vector>

namespace quvex::bench {

// Read all and write all of one model through ser2net on loopback, the simulator paced at
// 9600 baud behind it: what the network adds to the wire's own time.
struct NetworkFigures
{
    QString model;
    QString operation;
    bool as_shipped = false; // ser2net's own defaults rather than the recommended setup
    qint64 bytes_out = 0;
    qint64 bytes_in = 0;
    double span_ms = 0; // from the first byte sent to the last byte received
    double cpu_ms = 0;  // the panel's process over the operation
};

// With ser2net as the panel's documentation sets it up, and as_shipped with its own defaults.
bool run_network(int index, bool as_shipped, std::vector<NetworkFigures> &rows, QString &error);
void print_network_table(const std::vector<NetworkFigures> &rows);

} // namespace quvex::bench
