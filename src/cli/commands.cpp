#include "commands.h"

#include "catalogue/naming.h"
#include "command_session.h"
#include "link/answer_number.h"
#include "link/stop_signals.h"
#include "ports/port_device.h"
#include "ports_command.h"
#include "probe/detection.h"
#include "settings/settings_compare.h"
#include "settings/settings_file.h"
#include "store_commands.h"
#include "text/visible_text.h"
#include "write_all.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopedValueRollback>

#include <cstdio>

namespace quvex::cli {

namespace {

void print_error(const QString &text)
{
    std::fputs((QStringLiteral("quvexctl: ") + text + u'\n').toLocal8Bit().constData(), stderr);
}

bool print_data(const QByteArray &bytes)
{
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout)
            == static_cast<std::size_t>(bytes.size())
        && std::fflush(stdout) == 0)
        return true;
    print_error(QStringLiteral("cannot write to standard output"));
    return false;
}

QByteArray json_line(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QJsonValue json_value(const catalogue::Value &value)
{
    return value.is_empty() ? QJsonValue() : QJsonValue(value.number());
}

const catalogue::UnitModel &unit_model_at(int index)
{
    return catalogue::unit_models()[static_cast<std::size_t>(index)];
}

// A file that a restore or a compare can use whole; nothing after saying why not. A restore
// refuses a damaged file before anything is sent rather than stop part-way as the window does.
std::optional<settings::SettingsContent> whole_file(const QString &path)
{
    settings::SettingsContent content = settings::read_settings_file(path);
    if (!content.refusal.isEmpty()) {
        print_error(content.refusal);
        return std::nullopt;
    }
    if (content.damaged_at) {
        print_error(
            QStringLiteral("%1 is damaged at \"%2\"").arg(text::visible(path), text::visible(*content.damaged_at)));
        return std::nullopt;
    }
    return content;
}

struct Assignment
{
    QString name;
    double value = 0;
};

class Runner
{
public:
    explicit Runner(const Invocation &call)
        : m_call(call)
        , m_session(call.port, call.device, call.trace)
    {
        m_session.panel.changes().set_locked(call.read_only);
    }

    // Stopped by a signal, the exchange in progress ends, the unit gets its own video mode back
    // and nothing more is written; then the program ends by that signal.
    int run_stoppable();

private:
    int run();
    int detect();
    int read();
    int write();
    int diff();
    int get_or_set(const QList<Assignment> &assignments, bool send);
    int store();
    int reset();

    bool open_port();
    int unit_model();
    int file_model_of_unit(const settings::SettingsContent &content);
    std::optional<QList<settings::SettingsPair>> read_unit(int model, const QString &failure);
    int item_index(const QString &name);
    int print_items(const QList<int> &indexes);
    // The file's lines that name no item of the model are differences too.
    int print_differences(const QList<settings::Difference> &differences, const QStringList &unknown);
    // A program that is stopping prints no data: what it has is not what was asked for.
    bool print(const QByteArray &bytes) { return m_session.link.stop_requested() || print_data(bytes); }
    // The core shows a message for every failure it meets.
    bool unit_failed() const { return m_session.operator_side.messages_shown() > 0; }
    int exit_code(bool printed, bool different = false) const
    {
        return unit_failed() ? kExitUnit : !printed ? kExitUsage : different ? kExitDifferent : kExitSuccess;
    }

    const Invocation &m_call;
    link::StopSignals m_stop; // outlives the session, whose link asks it
    CommandSession m_session;
    QSaveFile *m_output = nullptr; // while a settings file is being written
};

int Runner::run_stoppable()
{
    m_session.unit.tell_mode = print_error;
    m_session.unit.stop_on(
        m_stop, [this] { m_session.link.request_stop(); },
        [this] {
            // Ending at once: the output begun must not stay beside the old file.
            if (m_output && m_output->isOpen()) {
                m_output->cancelWriting();
                m_output->commit();
            }
        });
    const int code = run();
    m_session.unit.end_run();
    return m_stop.finish(code);
}

int Runner::run()
{
    switch (m_call.command) {
    case Command::Detect:
        return detect();
    case Command::Read:
        return read();
    case Command::Write:
        return write();
    case Command::Diff:
        return diff();
    case Command::Get: {
        QList<Assignment> reads;
        for (const QString &name : m_call.arguments)
            reads.append({name});
        return get_or_set(reads, false);
    }
    case Command::Set: {
        // Every argument is checked before the first value goes out.
        static const QRegularExpression kDecimal(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
        QList<Assignment> writes;
        for (const QString &argument : m_call.arguments) {
            const qsizetype equals = argument.indexOf(u'=');
            const QString value = argument.mid(equals + 1);
            if (equals <= 0 || !kDecimal.match(value).hasMatch()) {
                print_error(
                    QStringLiteral("\"%1\" is no NAME=VALUE with a decimal VALUE").arg(text::visible(argument)));
                return kExitUsage;
            }
            const std::optional<double> number = link::sendable_number(value);
            if (!number) {
                print_error(QStringLiteral("\"%1\" cannot be sent exactly: a VALUE must be less than 1e15 in "
                                           "magnitude, with at most 15 significant digits")
                                .arg(text::visible(argument)));
                return kExitUsage;
            }
            writes.append({argument.left(equals), *number});
        }
        return get_or_set(writes, true);
    }
    case Command::Store:
        return store();
    case Command::Reset:
        return reset();
    case Command::Ports:
    case Command::Backup:
    case Command::Changes:
    case Command::History:
    case Command::Restore:
        break;
    }
    return kExitUsage;
}

bool Runner::open_port()
{
    m_session.link.open_port();
    if (m_session.link.is_port_open())
        return true;
    print_error(QStringLiteral("could not open %1")
                    .arg(text::visible(m_call.device.isEmpty() ? ports::port_device(m_call.port) : m_call.device)));
    return false;
}

int Runner::unit_model()
{
    if (m_call.model != 0)
        return m_call.model;
    const probe::Detection detection = probe::detect_model(m_session.link);
    if (detection.answered && detection.model_index == 0)
        print_error(QStringLiteral("the unit's answers fit no QUVEX model"));
    return detection.model_index;
}

// The file's model when the unit is of it; 0 after saying why not.
int Runner::file_model_of_unit(const settings::SettingsContent &content)
{
    const int unit = unit_model();
    if (unit != 0 && unit != content.model_index) {
        print_error(QStringLiteral("file is for %1, unit is %2")
                        .arg(unit_model_at(content.model_index).code, unit_model_at(unit).code));
        return 0;
    }
    return unit;
}

// Every value of the unit as the model given (0: already refused); nothing after saying why not.
std::optional<QList<settings::SettingsPair>> Runner::read_unit(int model, const QString &failure)
{
    if (model == 0)
        return std::nullopt;
    m_session.model.select(model);
    std::optional<QList<settings::SettingsPair>> pairs =
        settings::read_unit_pairs(m_session.catalogue, m_session.bracket, m_session.panel, QStringLiteral("Reading"));
    if (!pairs)
        print_error(failure);
    return pairs;
}

int Runner::item_index(const QString &name)
{
    const catalogue::Catalogue &items = m_session.catalogue;
    for (int i = 1; i <= items.item_count(); ++i) {
        const catalogue::Entry &entry = items.entry(i);
        if (!m_session.model.model_supports(entry.models)
            || (name != entry.name.trimmed() && name != catalogue::remove_spaces(entry.name)))
            continue;
        if (!entry.is_header())
            return i;
        print_error(QStringLiteral("\"%1\" is a heading, not an item").arg(text::visible(name)));
        return 0;
    }
    print_error(QStringLiteral("%1 has no item \"%2\"").arg(m_session.model.code(), text::visible(name)));
    return 0;
}

int Runner::detect()
{
    if (!open_port())
        return kExitUnit;
    const int index = unit_model();
    if (index == 0)
        return kExitUnit;
    const catalogue::UnitModel &model = unit_model_at(index);
    const QByteArray data =
        m_call.json ? json_line({{QStringLiteral("model"), model.code}, {QStringLiteral("name"), model.display_name}})
                    : (model.code + u'\t' + model.display_name + u'\n').toUtf8();
    return exit_code(print(data));
}

int Runner::read()
{
    // An output that cannot be created is found before the unit is read for it.
    QSaveFile file(m_call.output);
    const QScopedValueRollback output(m_output, &file);
    if (!m_call.output.isEmpty() && !settings::open_for_replace(file)) {
        print_error(QStringLiteral("cannot write %1").arg(text::visible(m_call.output)));
        return kExitUsage;
    }
    if (!open_port())
        return kExitUnit;
    const std::optional<QList<settings::SettingsPair>> pairs =
        read_unit(unit_model(), QStringLiteral("the unit was not read to the end; nothing was written"));
    if (!pairs)
        return kExitUnit;
    const QByteArray bytes = settings::settings_bytes(m_session.model.name(), *pairs);
    if (m_call.output.isEmpty())
        return exit_code(print(bytes));
    // A stop that came after the last exchange keeps the old file all the same.
    if (m_session.link.stop_requested())
        return kExitUnit;
    if (!settings::commit_settings(file, bytes)) {
        print_error(QStringLiteral("cannot write %1").arg(text::visible(m_call.output)));
        return kExitUsage;
    }
    return kExitSuccess;
}

int Runner::write()
{
    const QString &path = m_call.arguments.constFirst();
    const std::optional<settings::SettingsContent> content = whole_file(path);
    if (!content)
        return kExitUsage;
    if (!open_port() || file_model_of_unit(*content) == 0)
        return kExitUnit;
    int begun = 0;
    settings::SettingsFile(m_session.catalogue, m_session.bracket, m_session.operator_side, m_session.panel, path)
        .load(*content, &begun);
    // The unit holds the file in part, and a stopped program reads nothing back to show which.
    if (m_session.link.stop_requested()) {
        const qsizetype items =
            content->pairs.size()
            - settings::unknown_names(m_session.catalogue, content->model_index, content->pairs).size();
        print_error(begun == 0
                        ? QStringLiteral("stopped before any of the %1 items of %2 was sent").arg(items).arg(path)
                        : QStringLiteral("stopped at item %1 of the %2 items of %3; the items after it were "
                                         "not sent")
                              .arg(begun)
                              .arg(items)
                              .arg(path));
        return kExitUnit;
    }
    // After a failed exchange the rest of the file was not sent: its read-backs say nothing.
    if (unit_failed())
        return kExitUnit;
    const QStringList unknown = settings::unknown_names(m_session.catalogue, content->model_index, content->pairs);
    for (const QString &name : unknown)
        print_error(QStringLiteral("%1 has no item \"%2\"; its line was not sent")
                        .arg(m_session.model.code(), text::visible(name)));
    const int code = print_differences(
        settings::compare_settings(content->pairs, settings::stored_pairs(m_session.catalogue, m_session.model)), {});
    return code == kExitSuccess && !unknown.isEmpty() ? kExitDifferent : code;
}

int Runner::diff()
{
    const QString &path = m_call.arguments.constFirst();
    const std::optional<settings::SettingsContent> content = whole_file(path);
    if (!content)
        return kExitUsage;
    if (!open_port())
        return kExitUnit;
    const std::optional<QList<settings::SettingsPair>> unit =
        read_unit(file_model_of_unit(*content), QStringLiteral("the unit was not read to the end"));
    if (!unit)
        return kExitUnit;
    return print_differences(settings::compare_settings(content->pairs, *unit),
                             settings::unknown_names(m_session.catalogue, content->model_index, content->pairs));
}

int Runner::get_or_set(const QList<Assignment> &assignments, bool send)
{
    if (!open_port())
        return kExitUnit;
    const int model = unit_model();
    if (model == 0)
        return kExitUnit;
    m_session.model.select(model);
    QList<int> indexes;
    for (const Assignment &assignment : assignments) {
        indexes.append(item_index(assignment.name));
        if (indexes.constLast() == 0)
            return kExitUsage;
    }
    QList<int> done;
    for (qsizetype i = 0; i < indexes.size() && !unit_failed(); ++i) {
        // An item named twice is sent twice: the value read back for it the first time must
        // not hold the second send back.
        m_session.catalogue.entry(indexes.at(i)).value = {};
        m_session.panel.set_item_value(indexes.at(i),
                                       send ? catalogue::Value(assignments.at(i).value) : catalogue::Value());
        done.append(indexes.at(i));
    }
    return print_items(done);
}

int Runner::print_items(const QList<int> &indexes)
{
    QJsonArray items;
    QByteArray text;
    for (const int index : indexes) {
        const catalogue::Entry &entry = m_session.catalogue.entry(index);
        items.append(QJsonObject{{QStringLiteral("name"), entry.name.trimmed()},
                                 {QStringLiteral("value"), json_value(entry.value)}});
        text += (entry.name.trimmed() + u'\t' + link::format_wire_value(entry.value) + u'\n').toUtf8();
    }
    return exit_code(print(m_call.json ? json_line({{QStringLiteral("items"), items}}) : text));
}

int Runner::print_differences(const QList<settings::Difference> &differences, const QStringList &unknown)
{
    QJsonArray listed;
    QByteArray text;
    for (const settings::Difference &difference : differences) {
        listed.append(QJsonObject{{QStringLiteral("name"), difference.name},
                                  {QStringLiteral("file"), difference.file},
                                  {QStringLiteral("unit"), difference.unit}});
        text += (difference.name + u'\t' + link::format_wire_number(difference.file) + u'\t'
                 + link::format_wire_number(difference.unit) + u'\n')
                    .toUtf8();
    }
    const QString code = m_session.model.code();
    for (const QString &name : unknown) {
        listed.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("not_an_item_of"), code}});
        text += (text::visible(name) + QStringLiteral("\tnot an item of ") + code + u'\n').toUtf8();
    }
    const QByteArray data =
        m_call.json ? json_line({{QStringLiteral("model"), code}, {QStringLiteral("differences"), listed}}) : text;
    return exit_code(print(data), !listed.isEmpty());
}

int Runner::store()
{
    if (!open_port())
        return kExitUnit;
    m_session.panel.store_settings_Click();
    return exit_code(true);
}

int Runner::reset()
{
    if (!open_port())
        return kExitUnit;
    m_session.panel.send_unit_command(QStringLiteral("Reset"));
    return exit_code(true);
}

} // namespace

int run_command(const Invocation &call, const ports::SystemPorts &system_ports)
{
    // Lists and probes ports of its own: no port of the session's is opened.
    if (call.command == Command::Ports)
        return print_data(ports_report(system_ports, call.probe, call.json, rack::UnitNames())) ? kExitSuccess
                                                                                                : kExitUsage;
    if (call.command == Command::Write && call.all) {
        const std::optional<settings::SettingsContent> content = whole_file(call.arguments.constFirst());
        return content ? write_all(call.arguments.constFirst(), *content, system_ports) : kExitUsage;
    }
    if (call.command >= Command::Backup)
        return run_store_command(call, system_ports,
                                 [](const Invocation &write) { return Runner(write).run_stoppable(); });
    return Runner(call).run_stoppable();
}

} // namespace quvex::cli
