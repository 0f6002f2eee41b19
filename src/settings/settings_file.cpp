#include "settings_file.h"

#include "catalogue/naming.h"
#include "link/answer_number.h"
#include "regular_file.h"
#include "text/visible_text.h"

#include <QDir>
#include <QSaveFile>

namespace quvex::settings {

namespace {

QByteArray quoted(const QString &text)
{
    return '"' + text.toLatin1() + '"';
}

QString display_path(const QString &path)
{
    return text::visible(QDir::toNativeSeparators(path));
}

} // namespace

QString settings_path()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\quvex.cfg");
#else
    return QDir::homePath() + QStringLiteral("/quvex.cfg");
#endif
}

std::optional<QList<SettingsPair>> read_unit_pairs(const catalogue::Catalogue &items, link::ModeBracket &bracket,
                                                   panel::Panel &panel, const QString &verb)
{
    const catalogue::CurrentModel &model = panel.model();
    panel::UnitRun run = panel.begin_run(verb, panel.supported_item_count(true));
    QList<SettingsPair> pairs;

    for (int i = 1; i <= items.item_count(); ++i) {
        const catalogue::Entry &entry = items.entry(i);
        if (!model.model_supports(entry.models) || entry.is_header())
            continue;
        run.step(entry.name.trimmed());
        const link::Reading value = bracket.read_item_value(entry.name);
        // An item that could not be asked has no value to write, not even an unknown one.
        if (!value || run.failed())
            return std::nullopt;
        pairs.append({entry.name, *value});
    }
    // Giving the unit its own mode back is part of the read.
    run.finish();
    if (run.failed())
        return std::nullopt;
    return pairs;
}

QByteArray settings_bytes(const QString &model_name, const QList<SettingsPair> &pairs)
{
    QByteArray bytes = quoted(kSettingsIdentifier) + "\r\n1\r\n" + quoted(model_name) + "\r\n";
    for (const SettingsPair &pair : pairs)
        bytes += quoted(pair.name) + ',' + link::format_wire_value(pair.value).toLatin1() + "\r\n";
    return bytes;
}

bool open_for_replace(QSaveFile &file)
{
    return may_replace(file.fileName()) && file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool commit_settings(QSaveFile &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.commit();
}

QString write_whole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    bool written = open_for_replace(file);
    for (qint64 done = 0; written && done < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + done, bytes.size() - done);
        written = count > 0;
        done += count;
    }
    if (written && file.commit())
        return {};
    return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
}

SettingsFile::SettingsFile(catalogue::Catalogue &items, link::ModeBracket &bracket, link::OperatorSide &operator_side,
                           panel::Panel &panel, QString path)
    : m_items(items)
    , m_bracket(bracket)
    , m_operator(operator_side)
    , m_panel(panel)
    , m_path(std::move(path))
{
}

QString SettingsFile::open_caption() const
{
    return QStringLiteral("Open from ") + display_path(m_path);
}

QString SettingsFile::save_caption() const
{
    return QStringLiteral("Save to ") + display_path(m_path);
}

QString SettingsFile::compare_caption() const
{
    return QStringLiteral("Compare with ") + display_path(m_path);
}

void SettingsFile::show(const QString &text)
{
    m_operator.show_message(text);
}

void SettingsFile::show_unknown_names(const SettingsContent &content, const QString &not_done)
{
    QStringList names = unknown_names(m_items, content.model_index, content.pairs);
    if (!names.isEmpty()) {
        for (QString &name : names)
            name = text::visible(name);
        show(QStringLiteral("These lines name no item of %1 and were not %2:\n")
                 .arg(catalogue::unit_models()[static_cast<std::size_t>(content.model_index)].display_name, not_done)
             + names.join(u'\n'));
    }
}

void SettingsFile::save_to(const QString &path)
{
    if (m_panel.model().is_disconnected()) {
        show(QStringLiteral("No unit has been selected."));
        return;
    }
    const QString write_error = QStringLiteral("Error writing to ") + display_path(path);
    const panel::Operation operation = m_panel.begin_operation();
    // A file that cannot be created is found before the unit is read for it.
    QSaveFile file(path);
    if (!open_for_replace(file)) {
        show(write_error);
        return;
    }
    const std::optional<QList<SettingsPair>> pairs =
        read_unit_pairs(m_items, m_bracket, m_panel, QStringLiteral("Saving"));
    if (!pairs)
        show(QStringLiteral("Unable to complete Save."));
    else if (!commit_settings(file, settings_bytes(m_panel.model().name(), *pairs)))
        show(write_error);
}

void SettingsFile::open_from(const QString &path)
{
    if (m_panel.changes().refuse())
        return;
    const SettingsContent content = read_settings_file(path);
    if (!content.refusal.isEmpty()) {
        show(content.refusal);
        if (content.unknown_model)
            m_panel.clear_list();
        return;
    }
    const panel::Operation operation = m_panel.begin_operation();
    if (!load(content))
        return;
    show_unknown_names(content, QStringLiteral("loaded"));
    if (content.damaged_at) {
        show(QStringLiteral("The settings file is damaged at \"%1\"; the rest of it was not loaded.")
                 .arg(text::visible(*content.damaged_at)));
    }
}

bool SettingsFile::load(const SettingsContent &content, int *items_begun)
{
    if (items_begun)
        *items_begun = 0;
    const panel::Operation operation = m_panel.begin_operation();
    m_panel.quvex_Click(content.model_index);
    // A unit that could not be read as the file's model (silent, or of another model) gets
    // nothing of the file: its warning has been shown, and the file's values are not for it.
    if (operation.failed())
        return false;
    return apply(content.pairs, QStringLiteral("Loading"), 0, items_begun);
}

bool SettingsFile::apply(const QList<SettingsPair> &pairs, const QString &verb, int total, int *items_begun)
{
    panel::UnitRun run = m_panel.begin_run(verb, total);
    for (const SettingsPair &pair : pairs) {
        if (run.failed())
            return false;
        if (!names_item(m_items, m_panel.model(), pair.name))
            continue;
        run.step(pair.name.trimmed());
        if (items_begun)
            ++*items_begun;
        m_panel.set_named_item(pair.name, pair.value);
    }
    return !run.failed();
}

void SettingsFile::compare_with(const QString &path, const DifferenceChooser &choose)
{
    const catalogue::CurrentModel &model = m_panel.model();
    if (model.is_disconnected()) {
        show(QStringLiteral("No unit has been selected."));
        return;
    }
    const SettingsContent content = read_settings_file(path);
    if (!content.refusal.isEmpty()) {
        show(content.refusal);
        return;
    }
    if (content.damaged_at) {
        show(QStringLiteral("The settings file is damaged at \"%1\".").arg(text::visible(*content.damaged_at)));
        return;
    }
    if (content.model_index != model.index()) {
        show(QStringLiteral("The file is for %1, the unit is %2.")
                 .arg(catalogue::unit_models()[static_cast<std::size_t>(content.model_index)].display_name,
                      model.name()));
        return;
    }
    const panel::Operation operation = m_panel.begin_operation();
    const std::optional<QList<SettingsPair>> unit =
        read_unit_pairs(m_items, m_bracket, m_panel, QStringLiteral("Comparing"));
    if (!unit) {
        show(QStringLiteral("Unable to complete Compare."));
        return;
    }
    show_unknown_names(content, QStringLiteral("compared"));
    const QList<Difference> differences = compare_settings(content.pairs, *unit);
    if (differences.isEmpty()) {
        show(QStringLiteral("The unit holds the values of the file."));
        return;
    }
    const std::optional<QList<Difference>> checked = choose(differences);
    if (!checked)
        return;
    QList<SettingsPair> pairs;
    for (const Difference &difference : *checked) {
        // What the unit was just seen to hold, so that the set-value path finds a change to send
        // whatever the list held before.
        m_items.entry(catalogue::find_item(m_items, model, difference.name)).value = difference.unit;
        pairs.append({difference.name, difference.file});
    }
    apply(pairs, QStringLiteral("Sending"), static_cast<int>(pairs.size()));
}

} // namespace quvex::settings
