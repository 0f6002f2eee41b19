#include "run_summary.h"

#include "row_states.h"

namespace quvex::rack {

namespace {

QString not_to_end(TaskKind kind)
{
    switch (kind) {
    case TaskKind::SendChanges:
        return QStringLiteral("not sent to the end");
    case TaskKind::LoadFile:
        return QStringLiteral("not loaded to the end");
    case TaskKind::BackUp:
    case TaskKind::FindChanges:
        break;
    }
    return QStringLiteral("not read to the end");
}

QString done_text(TaskKind kind, const TaskResult &result)
{
    const qsizetype count = result.differences.size();
    switch (kind) {
    case TaskKind::BackUp:
        return result.new_version ? QStringLiteral("new version") : QStringLiteral("unchanged");
    case TaskKind::FindChanges:
        return items_text(count);
    case TaskKind::SendChanges:
        return items_text(count) + QStringLiteral(" sent");
    case TaskKind::LoadFile:
        return count == 0 ? QStringLiteral("holds the file's values") : items_text(count) + QStringLiteral(" loaded");
    }
    return {};
}

QString verb(TaskKind kind)
{
    switch (kind) {
    case TaskKind::BackUp:
        return QStringLiteral("backed up");
    case TaskKind::FindChanges:
        return QStringLiteral("compared");
    case TaskKind::SendChanges:
        return QStringLiteral("sent");
    case TaskKind::LoadFile:
        break;
    }
    return QStringLiteral("loaded");
}

} // namespace

QString items_text(qsizetype count)
{
    return count == 0   ? QStringLiteral("none")
           : count == 1 ? QStringLiteral("1 item")
                        : QStringLiteral("%1 items").arg(count);
}

QString outcome_text(TaskKind kind, const TaskResult &result)
{
    QString text;
    switch (result.outcome) {
    case TaskOutcome::Done:
        text = done_text(kind, result);
        break;
    case TaskOutcome::NotOpened: {
        UnitRow row;
        mark_not_opened(row, result.reason);
        text = state_text(row);
        break;
    }
    case TaskOutcome::NoAnswer:
        text = QStringLiteral("no answer");
        break;
    case TaskOutcome::NotQuvex:
        text = QStringLiteral("answers, but not as a QUVEX unit");
        break;
    case TaskOutcome::OtherModel:
        text = QStringLiteral("another model, left alone");
        break;
    case TaskOutcome::NoBackup:
        text = QStringLiteral("no backup yet");
        break;
    case TaskOutcome::NotToEnd:
        text = not_to_end(kind);
        break;
    case TaskOutcome::Stopped:
        text = QStringLiteral("stopped");
        break;
    case TaskOutcome::Failed:
        text = result.reason;
        break;
    }
    return result.mode_left.isEmpty() ? text : text + QStringLiteral(", ") + result.mode_left;
}

QString run_summary(TaskKind kind, const QList<RunLine> &lines)
{
    qsizetype done = 0;
    qsizetype asked = 0;
    QStringList others;
    for (const RunLine &line : lines) {
        asked += line.left_alone ? 0 : 1;
        done += line.done ? 1 : 0;
        if (!line.done)
            others.append(line.port + QStringLiteral(": ") + line.text);
    }
    QStringList parts{QStringLiteral("%1 of %2 %3").arg(done).arg(asked).arg(verb(kind))};
    parts += others;
    return parts.join(QStringLiteral("; "));
}

} // namespace quvex::rack
