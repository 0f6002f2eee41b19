// The actions on several rows: each unit in a session of its own on a thread of its own, its
// progress and outcome in its row, one summary at the end.
#include "backup/backup_store.h"
#include "rack_work.h"
#include "row_states.h"

#include <QDir>

#include <algorithm>

namespace quvex::rack {

namespace {

UnitTask task_for(TaskKind kind, const UnitRow &row)
{
    UnitTask task;
    task.kind = kind;
    task.device = row.port.device;
    task.target = row.target;
    return task;
}

} // namespace

bool Rack::is_running() const
{
    return m_work->pending > 0;
}

void Rack::cancel()
{
    m_work->stopping = true;
}

void Rack::back_up(const QList<int> &rows)
{
    QList<UnitTask> tasks;
    for (const int row : rows)
        tasks.append(task_for(TaskKind::BackUp, m_rows.at(row)));
    start_run(TaskKind::BackUp, tasks, rows);
}

void Rack::find_changes(const QList<int> &rows)
{
    QList<UnitTask> tasks;
    for (const int row : rows)
        tasks.append(task_for(TaskKind::FindChanges, m_rows.at(row)));
    start_run(TaskKind::FindChanges, tasks, rows);
}

void Rack::send_changes(const QList<UnitChanges> &ticked)
{
    QList<UnitTask> tasks;
    QList<int> rows;
    for (const UnitChanges &changes : ticked) {
        if (changes.row < 0 || changes.row >= m_rows.size() || changes.differences.isEmpty())
            continue;
        tasks.append(task_for(TaskKind::SendChanges, m_rows.at(changes.row)));
        tasks.last().to_send = changes.differences;
        rows.append(changes.row);
    }
    start_run(TaskKind::SendChanges, tasks, rows);
}

void Rack::load_file(const QList<int> &rows, const settings::SettingsContent &content)
{
    if (is_running())
        return;
    QList<UnitTask> tasks;
    QList<int> asked;
    for (const int row : rows) {
        const UnitRow &unit = m_rows.at(row);
        // A unit known to be of another model is not even asked; one not known yet is asked its
        // model first, and left alone as well when it is another.
        if (unit.model_index != 0 && unit.model_index != content.model_index && !is_own(unit)) {
            m_work->lines[row] = {port_text(unit), false, true, QStringLiteral("another model, left alone")};
            continue;
        }
        tasks.append(task_for(TaskKind::LoadFile, unit));
        tasks.last().content = content;
        asked.append(row);
    }
    start_run(TaskKind::LoadFile, tasks, asked);
}

void Rack::start_run(TaskKind kind, const QList<UnitTask> &tasks, const QList<int> &rows)
{
    if (is_running())
        return;
    // Nothing else opens a unit's port meanwhile: a refresh's probe or a watch query would
    // hold the very port a unit of the run needs.
    m_work->prober.cancel();
    m_work->prober.wait();
    end_watch_queries();
    for (const std::unique_ptr<QThread> &runner : m_work->runners)
        runner->wait();
    m_work->runners.clear();
    m_work->stopping = false;
    m_work->kind = kind;
    m_work->found.clear();
    // Each unit saves into a folder of its own; the store's own one is made first, once.
    if (kind == TaskKind::BackUp)
        QDir().mkpath(m_store.root());
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        const int index = rows.at(i);
        UnitRow &row = m_rows[index];
        row.outcome.clear();
        row.done = 0;
        row.total = 0;
        if (is_own(row)) {
            // One owner per port: the panel does its own unit's work itself.
            m_work->lines[index] = {port_text(row), false, false, QStringLiteral("open in this panel")};
            row.outcome = m_work->lines[index].text;
            Q_EMIT row_changed(index);
            continue;
        }
        row.running = true;
        ++m_work->pending;
        Q_EMIT row_changed(index);
        const panel::ProgressHook progress = [this, index](const QString &verb, int done, int total, const QString &) {
            if (verb.isEmpty())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, index, done, total] {
                    m_rows[index].done = done;
                    m_rows[index].total = total;
                    Q_EMIT row_changed(index);
                },
                Qt::QueuedConnection);
        };
        m_work->runners.emplace_back(QThread::create([this, task = tasks.at(i), index, progress] {
            const TaskResult result = run_unit_task(task, m_store, m_work->stopping, progress);
            QMetaObject::invokeMethod(
                this, [this, index, result] { take_result(index, result); }, Qt::QueuedConnection);
        }));
        m_work->runners.back()->start();
    }
    if (m_work->pending == 0)
        QMetaObject::invokeMethod(
            this, [this] { take_result(-1, {}); }, Qt::QueuedConnection);
}

void Rack::take_result(int index, const TaskResult &result)
{
    const TaskKind kind = m_work->kind;
    if (index >= 0) {
        --m_work->pending;
        UnitRow &row = m_rows[index];
        row.running = false;
        row.outcome = outcome_text(kind, result);
        switch (result.outcome) {
        case TaskOutcome::NotOpened:
            mark_not_opened(row, result.reason);
            break;
        case TaskOutcome::NoAnswer:
            mark_silent(row);
            break;
        case TaskOutcome::NotToEnd:
            result.fell_silent ? mark_silent(row) : mark_answers(row, result.model_index);
            break;
        case TaskOutcome::NotQuvex:
            mark_not_quvex(row);
            break;
        case TaskOutcome::Stopped:
            break;
        default:
            mark_answers(row, result.model_index);
            break;
        }
        if (result.outcome == TaskOutcome::Done && kind == TaskKind::BackUp) {
            row.last_backup = result.last_backup;
            row.changes = items_text(result.differences.size());
        } else if (result.outcome == TaskOutcome::Done && kind == TaskKind::FindChanges) {
            row.changes = items_text(result.differences.size());
            if (!result.differences.isEmpty())
                m_work->found.append({index, result.differences});
        }
        m_work->lines[index] = {port_text(row), result.outcome == TaskOutcome::Done,
                                result.outcome == TaskOutcome::OtherModel, row.outcome};
        Q_EMIT row_changed(index);
    }
    if (m_work->pending > 0)
        return;
    QList<RunLine> lines;
    for (const auto &[row, line] : m_work->lines)
        lines.append(line);
    m_work->lines.clear();
    if (kind == TaskKind::FindChanges) {
        std::sort(m_work->found.begin(), m_work->found.end(),
                  [](const UnitChanges &a, const UnitChanges &b) { return a.row < b.row; });
        Q_EMIT changes_found(m_work->found);
    }
    Q_EMIT run_finished(run_summary(kind, lines));
}

} // namespace quvex::rack
