#include "settings_file.h"

#include "catalogue/naming.h"
#include "field_reader.h"
#include "link/answer_number.h"
#include "regular_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace quvex::settings {

namespace {

const QString kIdentifier = QStringLiteral("QUVEX Control Panel");

QByteArray quoted(const QString &text)
{
    return '"' + text.toLatin1() + '"';
}

// Name and value pairs after the three header fields; a name without its value counts too.
int pair_count(const QByteArray &bytes)
{
    FieldReader reader(bytes);
    int fields = 0;
    while (reader.next_field())
        ++fields;
    return std::max(0, fields - 2) / 2;
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

SettingsFile::SettingsFile(panel::Panel &panel, QString path)
    : m_panel(panel)
    , m_path(std::move(path))
{
}

QString SettingsFile::display_path() const
{
    return QDir::toNativeSeparators(m_path);
}

QString SettingsFile::open_caption() const
{
    return QStringLiteral("Open from ") + display_path();
}

QString SettingsFile::save_caption() const
{
    return QStringLiteral("Save to ") + display_path();
}

void SettingsFile::show(const QString &text)
{
    m_panel.operator_side().show_message(text);
}

void SettingsFile::filesave_Click()
{
    const catalogue::CurrentModel &model = m_panel.model();
    if (model.is_disconnected()) {
        show(QStringLiteral("No unit has been selected."));
        return;
    }
    const QString write_error = QStringLiteral("Error writing to ") + display_path();
    panel::UnitRun run = m_panel.begin_run(QStringLiteral("Saving"), m_panel.supported_item_count(true));

    // Written beside the old file and put in its place only when complete. Unbuffered, so
    // that a write that fails (a full disk) is seen here and not lost in a late flush that
    // the commit does not report.
    QSaveFile file(m_path);
    const auto write_line = [&file](const QByteArray &line) { return file.write(line + "\r\n") == line.size() + 2; };
    if (!may_replace(m_path) || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || !write_line(quoted(kIdentifier))) {
        show(write_error);
        return;
    }
    bool written = write_line("1") && write_line(quoted(model.name()));

    const catalogue::Catalogue &items = m_panel.items();
    bool asked = true;
    for (int i = 1; i <= items.item_count() && written && asked; ++i) {
        const catalogue::Entry &entry = items.entry(i);
        if (!model.model_supports(entry.models) || entry.is_header())
            continue;
        run.step(entry.name.trimmed());
        const link::Reading value = m_panel.bracket().read_item_value(entry.name);
        // An item that could not be asked has no value to write, not even an unknown one.
        asked = value.has_value();
        if (!asked || run.failed())
            break;
        const QByteArray number = value->is_empty() ? QByteArray() : link::format_wire_number(value->number()).toLatin1();
        written = write_line(quoted(entry.name) + ',' + number);
    }
    run.finish();

    if (run.failed() || !asked) {
        file.cancelWriting();
        show(QStringLiteral("Unable to complete Save."));
    } else if (!written || !file.commit()) {
        show(write_error);
    }
}

void SettingsFile::fileopen_Click()
{
    const std::optional<QByteArray> bytes = read_regular_file(m_path, kSizeLimit);
    if (!bytes) {
        show(QStringLiteral("Could not open file ") + display_path());
        return;
    }
    const QString not_ours = QStringLiteral("This is not a QUVEX Control Panel file.");
    if (bytes->size() > kSizeLimit || pair_count(*bytes) > kPairLimit) {
        show(not_ours);
        return;
    }
    FieldReader reader(*bytes);

    const std::optional<QString> identifier = reader.next_field();
    const std::optional<QString> version = reader.next_field();
    const std::optional<QString> model_name = reader.next_field();
    if (!model_name || *identifier != kIdentifier) {
        show(not_ours);
        return;
    }
    if (field_number(*version) != 1.0) {
        show(QStringLiteral("Unknown file version."));
        return;
    }
    int model_index = 0;
    for (int i = 1; i < catalogue::kUnitModelCount && model_index == 0; ++i) {
        if (catalogue::unit_models()[static_cast<std::size_t>(i)].display_name == *model_name)
            model_index = i;
    }
    if (model_index == 0) {
        show(QStringLiteral("Unknown QUVEX type."));
        m_panel.clear_list();
        return;
    }
    const panel::Operation operation = m_panel.begin_operation();
    m_panel.quvex_Click(model_index);

    panel::UnitRun run = m_panel.begin_run(QStringLiteral("Loading"), 0);
    const catalogue::Catalogue &items = m_panel.items();
    while (!run.failed()) {
        const std::optional<QString> name = reader.next_field();
        if (!name)
            break;
        const std::optional<QString> value_field = reader.next_field();
        const std::optional<double> number = value_field ? field_number(*value_field) : std::nullopt;
        if (!value_field || (!value_field->trimmed().isEmpty() && !number)) {
            show(QStringLiteral("The settings file is damaged at \"%1\"; the rest of it was not loaded.")
                     .arg(name->trimmed()));
            break;
        }
        // A name the selected model does not have is no item of this unit.
        if (catalogue::find_item(items, m_panel.model(), *name) > items.item_count())
            continue;
        run.step(name->trimmed());
        m_panel.set_named_item(*name, number ? catalogue::Value(*number) : catalogue::Value());
    }
}

} // namespace quvex::settings
