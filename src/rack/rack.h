#pragma once

#include "ports/port_list.h"
#include "unit_row.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace quvex::backup {
class BackupStore;
}
namespace quvex::probe {
struct ProbeResult;
}
namespace quvex::settings {
struct SettingsContent;
}

namespace quvex::rack {

class UnitNames;
struct UnitTask;
struct TaskResult;
struct WatchAnswer;
enum class TaskKind;

// Every unit of the rack at a glance, and the work done on several at once: the rows of the Units
// window without the window. Probes, watch queries and actions each run a unit's session of
// their own on a thread of their own, so eight silent units cost one time-out, not eight. The
// panel's own port is never opened here. Rows change only on this object's thread, through the
// signals below.
class Rack final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultWatchMs = 10000;

    Rack(ports::SystemPorts system_ports, UnitNames &names, backup::BackupStore &store, QObject *parent = nullptr);
    ~Rack() override; // cancels what runs and waits for it

    const QList<UnitRow> &rows() const { return m_rows; }

    // The port the panel has open (empty: none), its model, and the outcome of its last exchange
    // ("answers", "no answer", ...): that row shows it and is never opened or asked here.
    void set_own_port(const QString &device, int model_index, const QString &last_outcome);

    // Lists the ports again and probes every one in parallel, as Find units does; rows of ports
    // with no number appear once a unit is found there. Not while a run goes on: its rows stay.
    void refresh();

    // While watching, every interval each idle unit is asked one read-only query, its port opened
    // for that query and closed again. A unit busy with an action, or still being asked from the
    // last interval, is not asked; a failed query only changes its row. Only rows where a unit
    // has been found are watched: a port with nothing on it is found again by a refresh.
    void set_watch_interval(int ms);
    void start_watch();
    void stop_watch();
    bool is_watching() const;

    // The operator's name for a row's unit; false, with the reason in error, when not kept.
    bool set_name(int row, const QString &name, QString *error = nullptr);

    // Actions on rows, each unit in its own session in parallel; progress and outcome show in
    // each row, and run_finished() gives the summary. A cancelled or stopped unit gets its own
    // video mode back, as every run does.
    void back_up(const QList<int> &rows);
    void find_changes(const QList<int> &rows); // then changes_found()
    void send_changes(const QList<UnitChanges> &ticked);
    // Into the given rows of the file's model; rows of another model are left alone and named in
    // the summary. Each unit gets only the items that differ.
    void load_file(const QList<int> &rows, const settings::SettingsContent &content);
    void cancel();
    bool is_running() const;

Q_SIGNALS:
    void rows_reset();
    void row_changed(int row);
    void changes_found(const QList<quvex::rack::UnitChanges> &changes);
    // "7 of 8 backed up; COM 5: no answer"
    void run_finished(const QString &summary);

private:
    struct Work;
    // The row whose port is device; -1: none.
    int row_of(const QString &device) const;
    bool is_own(const UnitRow &row) const;
    void show_own_row(UnitRow &row) const;
    void find_last_backup(UnitRow &row) const;
    void take_probe(const probe::ProbeResult &result);
    void watch_tick();
    void take_watch(const QString &device, const WatchAnswer &answer);
    // Interrupts the watch queries still asking and waits for them.
    void end_watch_queries();
    void start_run(TaskKind kind, const QList<UnitTask> &tasks, const QList<int> &rows);
    void take_result(int row, const TaskResult &result);
    ports::SystemPorts m_system_ports;
    UnitNames &m_names;
    backup::BackupStore &m_store;
    QList<UnitRow> m_rows;
    QTimer m_watch;
    std::unique_ptr<Work> m_work;
};

} // namespace quvex::rack
