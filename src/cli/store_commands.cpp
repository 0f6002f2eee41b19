#include "store_commands.h"

#include "backup/backup_store.h"
#include "backup/unit_name.h"
#include "catalogue/unit_models.h"
#include "link/answer_number.h"
#include "ports/port_device.h"
#include "ports/port_list.h"
#include "rack/unit_names.h"
#include "settings/settings_compare.h"
#include "settings/settings_file.h"
#include "unit_reads.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

namespace quvex::cli {

namespace {

void print_error(const QString &text)
{
    std::fputs((QStringLiteral("quvexctl: ") + text + u'\n').toLocal8Bit().constData(), stderr);
}

bool print_data(const QByteArray &bytes)
{
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) == std::size_t(bytes.size())
        && std::fflush(stdout) == 0)
        return true;
    print_error(QStringLiteral("cannot write to standard output"));
    return false;
}

const catalogue::UnitModel &model_at(int index)
{
    return catalogue::unit_models().at(std::size_t(index));
}

// A line a unit may be on: how reports name it (its port number, else its target), what to open,
// its target, and the models the store holds there.
struct UnitPlace
{
    QString port;
    QString device;
    QString target;
    QStringList known;
};

// One run of a command of the backup store: finds the units it concerns, reads them through
// UnitReads when it must, and reports one line a unit or a change.
class StoreCommand
{
public:
    StoreCommand(const Invocation &call, const ports::SystemPorts &system_ports)
        : m_call(call)
        , m_system_ports(system_ports)
        , m_store(call.store.isEmpty() ? backup::BackupStore::default_root() : call.store)
    {
    }

    int backup();
    int changes();
    int history();
    int restore(const std::function<int(const Invocation &)> &write);

private:
    // The unit of --port or --device, or with --all every target the store knows and, when
    // ports is set, every numbered port as well.
    QList<UnitPlace> lines(bool ports) const;
    // The one unit's version in the store: its newest, or the one at --at; the unit is asked its
    // model only when the store holds more than one at its target.
    std::optional<backup::Version> chosen_version(int &code);
    std::optional<backup::UnitKey> one_unit(int &code);
    std::vector<backup::SaveResult> save_all(const QList<UnitPlace> &units, const QList<UnitReading> &readings);
    int fail(int code, const QString &text) const
    {
        print_error(text);
        return code;
    }

    const Invocation &m_call;
    const ports::SystemPorts &m_system_ports;
    backup::BackupStore m_store;
};

QList<UnitPlace> StoreCommand::lines(bool ports) const
{
    if (!m_call.all) {
        const QString device = m_call.device.isEmpty() ? ports::port_device(m_call.port) : m_call.device;
        const QString target = backup::unit_target(device);
        return {{m_call.device.isEmpty() ? QString::number(m_call.port) : m_call.device, device, target,
                 m_store.models_at(target)}};
    }
    QList<UnitPlace> found;
    QList<backup::UnitKey> known = m_store.units();
    const QList<ports::PortEntry> entries = ports::list_ports(m_system_ports());
    for (const ports::PortEntry &entry : entries) {
        // A target the store knows keeps its name: its folder is found by it.
        UnitPlace line{entry.number ? QString::number(entry.number) : QString(),
                       entry.device,
                       entry.stable_name.isEmpty() ? entry.device : entry.stable_name,
                       {}};
        for (const backup::UnitKey &key : known) {
            if (key.target == line.target
                || ports::canonical_device(key.target) == ports::canonical_device(entry.device))
                line.target = key.target;
        }
        line.known = m_store.models_at(line.target);
        if (line.port.isEmpty())
            line.port = line.target;
        if ((entry.number != 0 && ports) || !line.known.isEmpty())
            found.append(line);
        known.removeIf([&line](const backup::UnitKey &key) { return key.target == line.target; });
    }
    for (const backup::UnitKey &key : known) {
        if (std::none_of(found.cbegin(), found.cend(),
                         [&key](const UnitPlace &line) { return line.target == key.target; }))
            found.append({key.target, key.target, key.target, m_store.models_at(key.target)});
    }
    return found;
}

// Says which units may be left in a video mode that could not be put back; gives the exit code
// of a unit that could not be read.
int told_modes(const QList<UnitPlace> &units, const QList<UnitReading> &readings)
{
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (!readings.at(i).mode_left.isEmpty())
            print_error(units.at(i).port + QStringLiteral(": ") + readings.at(i).mode_left);
    }
    return kExitUnit;
}

std::vector<backup::SaveResult> StoreCommand::save_all(const QList<UnitPlace> &units,
                                                       const QList<UnitReading> &readings)
{
    // Every unit at once, each into a folder of its own: on a disk that syncs each file written,
    // a rack costs one unit's syncs, not the sum of them. The store's own folder is made first,
    // so that no two of them make it.
    QDir().mkpath(m_store.root());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::vector<backup::SaveResult> saved(std::size_t(units.size()));
    std::vector<std::jthread> savers;
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (readings.at(i).outcome != ReadOutcome::Read)
            continue;
        savers.emplace_back([this, &saved, target = units.at(i).target, &reading = readings.at(i), i, now] {
            const catalogue::UnitModel &model = model_at(reading.model_index);
            saved[std::size_t(i)] = m_store.save(
                {target, model.code}, settings::settings_bytes(model.display_name, reading.pairs), now, m_call.keep);
        });
    }
    savers.clear(); // each joins
    return saved;
}

int StoreCommand::backup()
{
    const QList<UnitPlace> units = lines(true);
    QList<UnitJob> jobs;
    for (const UnitPlace &line : units)
        jobs.append({line.device, true});
    UnitReads reads;
    const QList<UnitReading> readings = reads.run(jobs, m_call.trace);
    // Stopped, the run keeps nothing, as a read to a file writes nothing: what it has is not
    // what was asked for.
    if (reads.stopped())
        return reads.finish(told_modes(units, readings));
    const std::vector<backup::SaveResult> saved = save_all(units, readings);
    const rack::UnitNames names;
    int code = kExitSuccess;
    QByteArray text;
    QJsonArray listed;
    for (qsizetype i = 0; i < units.size(); ++i) {
        const UnitPlace &line = units.at(i);
        const UnitReading &reading = readings.at(i);
        const QString model = reading.model_index ? model_at(reading.model_index).code : line.known.join(u',');
        QString result = reading_text(reading);
        if (reading.outcome == ReadOutcome::Read) {
            const backup::SaveResult &save = saved.at(std::size_t(i));
            result = save.saved == backup::Saved::NewVersion  ? QStringLiteral("new version")
                     : save.saved == backup::Saved::Unchanged ? QStringLiteral("unchanged")
                                                              : save.error;
            if (save.saved == backup::Saved::Failed)
                code = std::max(code, int(kExitUsage));
        } else if (!m_call.all || !line.known.isEmpty() || reading.outcome == ReadOutcome::NotReadToEnd) {
            code = std::max(code, int(kExitUnit));
        } else if (reading.outcome != ReadOutcome::NotOpened) {
            result = QStringLiteral("no unit");
        }
        text += (QStringList{line.port, model.isEmpty() ? QStringLiteral("-") : model, result}.join(u'\t') + u'\n')
                    .toUtf8();
        const QString name = names.name(line.target);
        listed.append(QJsonObject{{QStringLiteral("port"), line.port},
                                  {QStringLiteral("target"), line.target},
                                  {QStringLiteral("model"), model.isEmpty() ? QJsonValue() : QJsonValue(model)},
                                  {QStringLiteral("name"), name.isEmpty() ? QJsonValue() : QJsonValue(name)},
                                  {QStringLiteral("result"), result}});
    }
    told_modes(units, readings);
    if (!print_data(m_call.json
                        ? QJsonDocument(QJsonObject{{QStringLiteral("units"), listed}}).toJson(QJsonDocument::Compact)
                              + '\n'
                        : text))
        code = kExitUsage;
    return reads.finish(code);
}

int StoreCommand::changes()
{
    const QList<UnitPlace> units = lines(false);
    if (units.isEmpty())
        return fail(kExitUsage, QStringLiteral("the backup store %1 holds no unit yet").arg(m_store.root()));
    if (units.constFirst().known.isEmpty())
        return fail(kExitUsage, QStringLiteral("%1: no backup of the unit there yet").arg(units.constFirst().port));
    QList<UnitJob> jobs;
    for (const UnitPlace &line : units)
        jobs.append({line.device, true});
    UnitReads reads;
    const QList<UnitReading> readings = reads.run(jobs, m_call.trace);
    int code = kExitSuccess;
    QByteArray text;
    for (qsizetype i = 0; i < units.size(); ++i) {
        const UnitPlace &line = units.at(i);
        const UnitReading &reading = readings.at(i);
        const QString model = reading.model_index ? model_at(reading.model_index).code : QString();
        const QList<backup::Version> versions = m_store.versions({line.target, model});
        if (reading.outcome != ReadOutcome::Read) {
            code = std::max(code, fail(kExitUnit, line.port + QStringLiteral(": ") + reading_text(reading)));
            continue;
        }
        if (versions.isEmpty()) {
            code = std::max(code,
                            fail(kExitUsage, QStringLiteral("%1: no backup of a %2 there yet").arg(line.port, model)));
            continue;
        }
        const std::optional<QByteArray> bytes = backup::read_version(versions.constLast().path);
        const settings::SettingsContent then = settings::parse_settings(bytes.value_or(QByteArray()));
        if (!bytes || !then.refusal.isEmpty() || then.damaged_at) {
            code = std::max(code, fail(kExitUsage, QStringLiteral("cannot read %1").arg(versions.constLast().path)));
            continue;
        }
        const QList<settings::Difference> differences = settings::compare_settings(then.pairs, reading.pairs);
        for (const settings::Difference &difference : differences) {
            QStringList columns{difference.name, link::format_wire_number(difference.file),
                                link::format_wire_number(difference.unit)};
            if (m_call.all)
                columns = QStringList{line.port, model} + columns;
            text += (columns.join(u'\t') + u'\n').toUtf8();
        }
        code = std::max(code, differences.isEmpty() ? int(kExitSuccess) : int(kExitDifferent));
    }
    told_modes(units, readings);
    if (!reads.stopped() && !print_data(text))
        code = kExitUsage;
    return reads.finish(code);
}

std::optional<backup::UnitKey> StoreCommand::one_unit(int &code)
{
    const UnitPlace line = lines(false).constFirst();
    if (line.known.isEmpty()) {
        code = fail(kExitUsage, QStringLiteral("%1: no backup of the unit there yet").arg(line.port));
        return std::nullopt;
    }
    if (line.known.size() == 1)
        return backup::UnitKey{line.target, line.known.constFirst()};
    UnitReads reads;
    const UnitReading reading = reads.run({{line.device, false}}, m_call.trace).constFirst();
    if (reading.outcome != ReadOutcome::Read) {
        code = reads.finish(fail(kExitUnit, line.port + QStringLiteral(": ") + reading_text(reading)));
        return std::nullopt;
    }
    const QString model = model_at(reading.model_index).code;
    if (!line.known.contains(model)) {
        code = fail(kExitUsage, QStringLiteral("%1: no backup of a %2 there yet").arg(line.port, model));
        return std::nullopt;
    }
    return backup::UnitKey{line.target, model};
}

std::optional<backup::Version> StoreCommand::chosen_version(int &code)
{
    const std::optional<backup::UnitKey> unit = one_unit(code);
    if (!unit)
        return std::nullopt;
    const QList<backup::Version> versions = m_store.versions(*unit);
    for (auto version = versions.crbegin(); version != versions.crend(); ++version) {
        if (m_call.at.isEmpty() || version->time == m_call.at)
            return *version;
    }
    code = fail(kExitUsage, m_call.at.isEmpty() ? QStringLiteral("the unit has no version yet")
                                                : QStringLiteral("the unit has no version at %1").arg(m_call.at));
    return std::nullopt;
}

int StoreCommand::history()
{
    int code = kExitSuccess;
    if (!m_call.at.isEmpty()) {
        const std::optional<backup::Version> version = chosen_version(code);
        const std::optional<QByteArray> bytes = version ? backup::read_version(version->path) : std::nullopt;
        if (version && !bytes)
            return fail(kExitUsage, QStringLiteral("cannot read %1").arg(version->path));
        return !bytes ? code : print_data(*bytes) ? kExitSuccess : kExitUsage;
    }
    QList<backup::UnitKey> units = m_store.units();
    if (!m_call.all) {
        const std::optional<backup::UnitKey> unit = one_unit(code);
        if (!unit)
            return code;
        units = {*unit};
    }
    QByteArray text;
    for (const backup::UnitKey &unit : units) {
        const QList<backup::Version> versions = m_store.versions(unit);
        const QList<int> changed = backup::items_changed(versions);
        for (qsizetype i = 0; i < versions.size(); ++i) {
            QStringList columns{versions.at(i).time,
                                changed.at(i) < 0 ? QStringLiteral("-") : QString::number(changed.at(i))};
            if (m_call.all)
                columns = QStringList{unit.target, unit.model} + columns;
            text += (columns.join(u'\t') + u'\n').toUtf8();
        }
    }
    return print_data(text) ? kExitSuccess : kExitUsage;
}

int StoreCommand::restore(const std::function<int(const Invocation &)> &write)
{
    int code = kExitSuccess;
    const std::optional<backup::Version> version = chosen_version(code);
    if (!version)
        return code;
    Invocation call = m_call;
    call.command = Command::Write;
    call.arguments = QStringList{version->path};
    return write(call);
}

} // namespace

int run_store_command(const Invocation &call, const ports::SystemPorts &system_ports,
                      const std::function<int(const Invocation &)> &write)
{
    StoreCommand command(call, system_ports);
    switch (call.command) {
    case Command::Backup:
        return command.backup();
    case Command::Changes:
        return command.changes();
    case Command::History:
        return command.history();
    case Command::Restore:
        return command.restore(write);
    default:
        break;
    }
    return kExitUsage;
}

} // namespace quvex::cli
