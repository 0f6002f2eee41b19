#include "rack.h"

#include "backup/backup_store.h"
#include "backup/unit_name.h"
#include "catalogue/unit_models.h"
#include "rack_work.h"
#include "row_states.h"
#include "unit_names.h"

namespace quvex::rack {

Rack::Rack(ports::SystemPorts system_ports, UnitNames &names, backup::BackupStore &store, QObject *parent)
    : QObject(parent)
    , m_system_ports(std::move(system_ports))
    , m_names(names)
    , m_store(store)
    , m_work(std::make_unique<Work>())
{
    m_watch.setInterval(kDefaultWatchMs);
    connect(&m_watch, &QTimer::timeout, this, &Rack::watch_tick);
    connect(&m_work->prober, &probe::PortProber::probed, this, &Rack::take_probe);
}

Rack::~Rack()
{
    // Every thread is done before the rows it reports to go; what it still queued is dropped
    // with this object.
    m_watch.stop();
    cancel();
    for (const std::unique_ptr<QThread> &runner : m_work->runners)
        runner->wait();
    end_watch_queries();
    m_work->prober.cancel();
    m_work->prober.wait();
}

int Rack::row_of(const QString &device) const
{
    // As the port list writes it first: a link's target is found again when what it leads to
    // has changed.
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).port.device == device)
            return int(i);
    }
    const QString canonical = ports::canonical_device(device);
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (ports::canonical_device(m_rows.at(i).port.device) == canonical)
            return int(i);
    }
    return -1;
}

bool Rack::is_own(const UnitRow &row) const
{
    return !m_work->own_device.isEmpty() && ports::canonical_device(row.port.device) == m_work->own_device;
}

void Rack::show_own_row(UnitRow &row) const
{
    row.state = UnitState::OpenInPanel;
    row.model_index = m_work->own_model;
    row.reason = m_work->own_outcome;
    row.silent_since = {};
}

void Rack::find_last_backup(UnitRow &row) const
{
    QStringList models = m_store.models_at(row.target);
    if (row.model_index > 0)
        models = QStringList{catalogue::unit_models().at(std::size_t(row.model_index)).code};
    row.last_backup.clear();
    if (models.size() == 1) {
        if (const QList<backup::Version> versions = m_store.versions({row.target, models.constFirst()});
            !versions.isEmpty())
            row.last_backup = versions.constLast().time;
    }
}

void Rack::set_own_port(const QString &device, int model_index, const QString &last_outcome)
{
    const QString before = m_work->own_device;
    m_work->own_device = device.isEmpty() ? QString() : ports::canonical_device(device);
    // A watch query or a refresh's probe may have the port open this moment: it ends at once,
    // the port closed.
    if (!device.isEmpty())
        m_work->prober.let_go(device);
    if (const int own = row_of(device); own >= 0 && !device.isEmpty()) {
        if (const auto asked = m_work->asking.find(m_rows.at(own).port.device); asked != m_work->asking.end()) {
            asked->second->requestInterruption();
            asked->second->wait();
            m_work->asking.erase(asked);
        }
    }
    m_work->own_model = model_index;
    m_work->own_outcome = last_outcome;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        UnitRow &row = m_rows[i];
        if (is_own(row)) {
            show_own_row(row);
            find_last_backup(row);
        } else if (!before.isEmpty() && ports::canonical_device(row.port.device) == before) {
            // Given back by the panel: what is there now is found by the next refresh or run.
            row.state = UnitState::NotAsked;
            row.reason.clear();
        } else {
            continue;
        }
        Q_EMIT row_changed(int(i));
    }
}

void Rack::refresh()
{
    // A run's rows stay where they are until it ends.
    if (is_running())
        return;
    end_watch_queries();
    m_work->prober.cancel();
    m_work->prober.wait();
    m_rows.clear();
    m_work->unnumbered.clear();
    QList<ports::PortEntry> probed;
    for (const ports::PortEntry &entry : ports::list_ports(m_system_ports())) {
        UnitRow row;
        row.port = entry;
        row.target = backup::unit_target(entry.device);
        row.name = m_names.name(row.target);
        if (is_own(row))
            show_own_row(row);
        else
            probed.append(entry);
        if (entry.number == 0) {
            m_work->unnumbered.append(entry);
            continue;
        }
        find_last_backup(row);
        m_rows.append(row);
    }
    Q_EMIT rows_reset();
    m_work->prober.start(probed);
}

void Rack::take_probe(const probe::ProbeResult &result)
{
    int index = row_of(result.port.device);
    if (index < 0) {
        if (result.outcome != probe::ProbeOutcome::Found)
            return;
        UnitRow row;
        row.port = result.port;
        row.target = backup::unit_target(result.port.device);
        row.name = m_names.name(row.target);
        m_rows.append(row);
        index = int(m_rows.size() - 1);
        Q_EMIT rows_reset();
    }
    UnitRow &row = m_rows[index];
    switch (result.outcome) {
    case probe::ProbeOutcome::Found:
        mark_answers(row, result.model_index);
        break;
    case probe::ProbeOutcome::NoAnswer:
        mark_silent(row);
        break;
    case probe::ProbeOutcome::NotQuvex:
        mark_not_quvex(row);
        break;
    case probe::ProbeOutcome::NotOpened:
        mark_not_opened(row, result.reason);
        break;
    case probe::ProbeOutcome::Cancelled:
        return;
    }
    find_last_backup(row);
    Q_EMIT row_changed(index);
}

bool Rack::set_name(int row, const QString &name, QString *error)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    if (!m_names.set_name(m_rows.at(row).target, name, error))
        return false;
    m_rows[row].name = m_names.name(m_rows.at(row).target);
    Q_EMIT row_changed(row);
    return true;
}

} // namespace quvex::rack
