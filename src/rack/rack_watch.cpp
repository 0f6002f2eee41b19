// The watch: one read-only question to each idle unit every interval, each on a thread of its own.
#include "rack_work.h"
#include "row_states.h"
#include "watch_query.h"

namespace quvex::rack {

void Rack::set_watch_interval(int ms)
{
    m_work->watch_ms = ms;
    m_watch.setInterval(ms);
}

void Rack::start_watch()
{
    m_watch.start(m_work->watch_ms);
}

void Rack::stop_watch()
{
    m_watch.stop();
}

bool Rack::is_watching() const
{
    return m_watch.isActive();
}

void Rack::watch_tick()
{
    // A refresh asks every port itself meanwhile.
    if (m_work->prober.is_running())
        return;
    for (const UnitRow &row : std::as_const(m_rows)) {
        // Only where a unit has been found: a port with nothing on it is found by a refresh.
        if (row.model_index == 0 || row.running || is_own(row))
            continue;
        const QString device = row.port.device;
        if (m_work->asking.count(device) != 0)
            continue;
        QThread *thread = QThread::create([this, device] {
            const WatchAnswer answer = watch_query(device);
            if (QThread::currentThread()->isInterruptionRequested())
                return;
            QMetaObject::invokeMethod(
                this, [this, device, answer] { take_watch(device, answer); }, Qt::QueuedConnection);
        });
        m_work->asking[device].reset(thread);
        thread->start();
    }
}

void Rack::take_watch(const QString &device, const WatchAnswer &answer)
{
    if (const auto asked = m_work->asking.find(device); asked != m_work->asking.end()) {
        asked->second->wait();
        m_work->asking.erase(asked);
    }
    const int index = row_of(device);
    // A run that began meanwhile tells the row itself.
    if (index < 0 || m_rows.at(index).running || is_own(m_rows.at(index)))
        return;
    UnitRow &row = m_rows[index];
    const UnitRow before = row;
    switch (answer.outcome) {
    case WatchOutcome::Answers:
        mark_answers(row, row.model_index);
        break;
    case WatchOutcome::NoAnswer:
        mark_silent(row);
        break;
    case WatchOutcome::NotOpened:
        mark_not_opened(row, answer.reason);
        break;
    }
    if (row.state != before.state || row.reason != before.reason || row.silent_since != before.silent_since)
        Q_EMIT row_changed(index);
}

void Rack::end_watch_queries()
{
    for (const auto &[device, thread] : m_work->asking)
        thread->requestInterruption();
    for (const auto &[device, thread] : m_work->asking)
        thread->wait();
    m_work->asking.clear();
}

} // namespace quvex::rack
