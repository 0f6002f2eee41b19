#pragma once

#include "probe/port_probe.h"
#include "rack.h"
#include "run_summary.h"
#include "unit_task.h"

#include <QThread>

#include <atomic>
#include <map>
#include <memory>
#include <vector>

namespace quvex::rack {

// What the rack has running: the probes of a refresh, the watch's queries and a run's units,
// each on threads of its own.
struct Rack::Work
{
    probe::PortProber prober;
    // Probed as well: shown only when a unit is found there.
    QList<ports::PortEntry> unnumbered;

    // The panel's own port, canonical; empty: none.
    QString own_device;
    int own_model = 0;
    QString own_outcome;

    int watch_ms = kDefaultWatchMs;
    // The units still being asked, by device: asked again only once they have answered.
    std::map<QString, std::unique_ptr<QThread>> asking;

    std::atomic<bool> stopping = false;
    std::vector<std::unique_ptr<QThread>> runners;
    int pending = 0;
    TaskKind kind = TaskKind::BackUp;
    // By row, in row order once the run ends.
    std::map<int, RunLine> lines;
    QList<UnitChanges> found;
};

} // namespace quvex::rack
