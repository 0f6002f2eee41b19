#include "unit_task.h"

#include "backup/backup_store.h"
#include "catalogue/naming.h"
#include "catalogue/unit_models.h"
#include "probe/port_probe.h"
#include "session/quiet_operator.h"
#include "session/quiet_view.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"

#include <QDateTime>

#include <optional>

namespace quvex::rack {

namespace {

// As many as the panel's own backups keep.
constexpr int kKeepVersions = 30;

// The store's newest version of the unit, read; nothing when it has none or it cannot be read.
std::optional<settings::SettingsContent> newest_version(const QList<backup::Version> &versions)
{
    if (versions.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> bytes = backup::read_version(versions.constLast().path);
    const settings::SettingsContent content = settings::parse_settings(bytes.value_or(QByteArray()));
    if (!bytes || !content.refusal.isEmpty() || content.damaged_at)
        return std::nullopt;
    return content;
}

// One unit's session, quiet, on the calling thread, asking stopping before every exchange.
class TaskSession
{
public:
    TaskSession(const QString &device, const std::atomic<bool> &stopping, const panel::ProgressHook &progress)
    {
        m_unit.use_port(0, device);
        m_quiet.m_link = &m_unit.link;
        m_unit.stop_when(stopping);
        m_unit.panel.set_progress_hook(progress);
    }

    TaskResult run(const UnitTask &task, backup::BackupStore &store);

private:
    // Sends each difference's file value, the unit's value being what it was seen to hold; false
    // when an exchange failed and the rest was left.
    bool send(const QList<settings::Difference> &differences, const QString &verb);
    std::optional<QList<settings::SettingsPair>> read_all(const QString &verb, TaskResult &result);

    session::QuietOperator m_quiet;
    session::QuietView m_view;
    session::UnitSession m_unit{m_quiet, m_view};
};

bool TaskSession::send(const QList<settings::Difference> &differences, const QString &verb)
{
    if (differences.isEmpty())
        return true;
    catalogue::Catalogue &items = m_unit.catalogue;
    panel::UnitRun run = m_unit.panel.begin_run(verb, int(differences.size()));
    for (const settings::Difference &difference : differences) {
        if (run.failed())
            return false;
        const int index = catalogue::find_item(items, m_unit.model, difference.name);
        if (!items.is_entry(index))
            continue;
        run.step(difference.name);
        items.entry(index).value = difference.unit;
        m_unit.panel.set_named_item(difference.name, difference.file);
    }
    run.finish();
    return !run.failed();
}

std::optional<QList<settings::SettingsPair>> TaskSession::read_all(const QString &verb, TaskResult &result)
{
    std::optional<QList<settings::SettingsPair>> pairs =
        settings::read_unit_pairs(m_unit.catalogue, m_unit.bracket, m_unit.panel, verb);
    if (!pairs) {
        result.outcome = TaskOutcome::NotToEnd;
        result.fell_silent = m_unit.link.state().no_response_error;
    }
    return pairs;
}

TaskResult TaskSession::run(const UnitTask &task, backup::BackupStore &store)
{
    link::Link &link = m_unit.link;
    TaskResult result;
    const probe::ProbeResult found = probe::open_and_detect(m_unit);
    if (found.outcome == probe::ProbeOutcome::NotOpened)
        return {TaskOutcome::NotOpened, 0, found.reason, {}, false, {}, {}, false};
    result.model_index = found.model_index;
    result.outcome = found.outcome == probe::ProbeOutcome::NoAnswer   ? TaskOutcome::NoAnswer
                     : found.outcome == probe::ProbeOutcome::NotQuvex ? TaskOutcome::NotQuvex
                                                                      : TaskOutcome::Done;
    if (task.kind == TaskKind::LoadFile && result.outcome == TaskOutcome::Done
        && found.model_index != task.content.model_index)
        result.outcome = TaskOutcome::OtherModel;
    if (result.outcome == TaskOutcome::Done) {
        m_unit.model.select(found.model_index);
        const catalogue::UnitModel &model = catalogue::unit_models().at(std::size_t(found.model_index));
        const backup::UnitKey key{task.target, model.code};
        switch (task.kind) {
        case TaskKind::BackUp:
            // A stop after the read keeps nothing, as quvexctl's backup keeps nothing then.
            if (const auto pairs = read_all(QStringLiteral("Backing up"), result); pairs && !link.stop_requested()) {
                const std::optional<settings::SettingsContent> before = newest_version(store.versions(key));
                const backup::SaveResult saved = store.save(key, settings::settings_bytes(model.display_name, *pairs),
                                                            QDateTime::currentDateTimeUtc(), kKeepVersions);
                result.new_version = saved.saved == backup::Saved::NewVersion;
                if (saved.saved == backup::Saved::Failed)
                    result = {TaskOutcome::Failed, result.model_index, saved.error, {}, false, {}, {}, false};
                else if (result.new_version && before)
                    result.differences = settings::compare_settings(before->pairs, *pairs);
                if (const QList<backup::Version> versions = store.versions(key); !versions.isEmpty())
                    result.last_backup = versions.constLast().time;
            }
            break;
        case TaskKind::FindChanges:
            if (const auto pairs = read_all(QStringLiteral("Comparing"), result)) {
                const QList<backup::Version> versions = store.versions(key);
                const std::optional<settings::SettingsContent> then = newest_version(versions);
                if (versions.isEmpty())
                    result.outcome = TaskOutcome::NoBackup;
                else if (!then)
                    result = {TaskOutcome::Failed,
                              result.model_index,
                              QStringLiteral("cannot read ") + versions.constLast().path,
                              {},
                              false,
                              {},
                              {}};
                else
                    result.differences = settings::compare_settings(then->pairs, *pairs);
            }
            break;
        case TaskKind::SendChanges:
            result.differences = task.to_send;
            if (!send(task.to_send, QStringLiteral("Sending")))
                result = {TaskOutcome::NotToEnd,         result.model_index, {}, task.to_send, false, {}, {},
                          link.state().no_response_error};
            break;
        case TaskKind::LoadFile:
            if (const auto pairs = read_all(QStringLiteral("Reading"), result)) {
                result.differences = settings::compare_settings(task.content.pairs, *pairs);
                if (!send(result.differences, QStringLiteral("Loading"))) {
                    result.outcome = TaskOutcome::NotToEnd;
                    result.fell_silent = link.state().no_response_error;
                }
            }
            break;
        }
    }
    // What was done while a stop came is not what was asked for.
    if (link.stop_requested())
        result.outcome = TaskOutcome::Stopped;
    m_unit.tell_mode = [&result](const QString &left) { result.mode_left = left; };
    m_unit.end_run();
    link.close_port();
    return result;
}

} // namespace

TaskResult run_unit_task(const UnitTask &task, backup::BackupStore &store, const std::atomic<bool> &stopping,
                         const panel::ProgressHook &progress)
{
    TaskSession session(task.device, stopping, progress);
    return session.run(task, store);
}

} // namespace quvex::rack
