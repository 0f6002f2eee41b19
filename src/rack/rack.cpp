#include "rack.h"

#include "backup/unit_name.h"
#include "probe/port_probe.h"
#include "unit_names.h"

namespace quvex::rack {

// Only lists and probes; the actions end at once.
struct Rack::Work
{
    probe::PortProber prober;
    QString own_device;
    int own_model = 0;
};

Rack::Rack(ports::SystemPorts system_ports, UnitNames &names, backup::BackupStore &store, QObject *parent)
    : QObject(parent)
    , m_system_ports(std::move(system_ports))
    , m_names(names)
    , m_store(store)
    , m_work(std::make_unique<Work>())
{
    m_watch.setInterval(kDefaultWatchMs);
    connect(&m_work->prober, &probe::PortProber::probed, this, [this](const probe::ProbeResult &result) {
        for (int i = 0; i < m_rows.size(); ++i) {
            UnitRow &row = m_rows[i];
            if (row.port.device != result.port.device || row.state == UnitState::OpenInPanel)
                continue;
            row.model_index = result.model_index;
            row.reason = result.reason;
            row.state = result.outcome == probe::ProbeOutcome::Found       ? UnitState::Answers
                        : result.outcome == probe::ProbeOutcome::NoAnswer  ? UnitState::NoAnswer
                        : result.outcome == probe::ProbeOutcome::NotQuvex  ? UnitState::NotQuvex
                        : result.outcome == probe::ProbeOutcome::NotOpened ? UnitState::WillNotOpen
                                                                           : UnitState::NotAsked;
            row.silent_since = QDateTime::currentDateTime();
            Q_EMIT row_changed(i);
        }
    });
}

Rack::~Rack() = default;

void Rack::set_own_port(const QString &device, int model_index, const QString &last_outcome)
{
    m_work->own_device = device;
    m_work->own_model = model_index;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!device.isEmpty() && m_rows[i].port.device == device) {
            m_rows[i].state = UnitState::OpenInPanel;
            m_rows[i].model_index = model_index;
            m_rows[i].reason = last_outcome;
            Q_EMIT row_changed(i);
        }
    }
}

void Rack::refresh()
{
    m_work->prober.cancel();
    m_work->prober.wait();
    m_rows.clear();
    const QList<ports::PortEntry> entries =
        ports::list_ports(m_system_ports ? m_system_ports() : QList<ports::SystemPort>());
    QList<ports::PortEntry> asked;
    for (const ports::PortEntry &port : entries) {
        UnitRow row;
        row.port = port;
        row.target = backup::unit_target(port.device);
        row.name = m_names.name(row.target);
        if (!m_work->own_device.isEmpty() && port.device == m_work->own_device) {
            row.state = UnitState::OpenInPanel;
            row.model_index = m_work->own_model;
        } else {
            asked.append(port);
        }
        m_rows.append(row);
    }
    Q_EMIT rows_reset();
    m_work->prober.start(asked);
}

void Rack::set_watch_interval(int ms)
{
    m_watch.setInterval(ms);
}

void Rack::start_watch()
{
    m_watch.start();
}

void Rack::stop_watch()
{
    m_watch.stop();
}

bool Rack::is_watching() const
{
    return m_watch.isActive();
}

bool Rack::set_name(int row, const QString &name, QString *error)
{
    if (!m_names.set_name(m_rows.at(row).target, name, error))
        return false;
    m_rows[row].name = name;
    Q_EMIT row_changed(row);
    return true;
}

void Rack::back_up(const QList<int> &rows)
{
    Q_EMIT run_finished(QStringLiteral("0 of %1 backed up").arg(rows.size()));
}

void Rack::find_changes(const QList<int> &)
{
    Q_EMIT changes_found({});
}

void Rack::send_changes(const QList<UnitChanges> &)
{
}

void Rack::load_file(const QList<int> &, const settings::SettingsContent &, const QString &)
{
}

void Rack::cancel()
{
}

bool Rack::is_running() const
{
    return false;
}

} // namespace quvex::rack
