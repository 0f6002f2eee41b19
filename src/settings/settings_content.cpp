#include "settings_content.h"

#include "catalogue/unit_models.h"
#include "field_reader.h"
#include "regular_file.h"
#include "text/visible_text.h"

#include <QDir>

#include <algorithm>

namespace quvex::settings {

namespace {

// Name and value pairs after the three header fields; a name without its value counts too.
int pair_count(const QByteArray &bytes)
{
    FieldReader reader(bytes);
    int fields = 0;
    while (reader.next_field())
        ++fields;
    return std::max(0, fields - 2) / 2;
}

SettingsContent refused(const QString &text)
{
    SettingsContent content;
    content.refusal = text;
    return content;
}

} // namespace

SettingsContent parse_settings(const QByteArray &bytes)
{
    const QString not_ours = QStringLiteral("This is not a QUVEX Control Panel file.");
    // Some editors put a UTF-8 byte-order mark in front of a file they save; it belongs to no field.
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    if (bytes.size() > kSettingsSizeLimit || pair_count(body) > kSettingsPairLimit)
        return refused(not_ours);
    FieldReader reader(body);

    const std::optional<QString> identifier = reader.next_field();
    const std::optional<QString> version = reader.next_field();
    const std::optional<QString> model_name = reader.next_field();
    if (!model_name || *identifier != kSettingsIdentifier)
        return refused(not_ours);
    if (field_number(*version) != 1.0)
        return refused(QStringLiteral("Unknown file version."));
    SettingsContent content;
    for (int i = 1; i < catalogue::kUnitModelCount && content.model_index == 0; ++i) {
        if (catalogue::unit_models()[static_cast<std::size_t>(i)].display_name == *model_name)
            content.model_index = i;
    }
    if (content.model_index == 0) {
        content = refused(QStringLiteral("Unknown QUVEX type."));
        content.unknown_model = true;
        return content;
    }
    while (const std::optional<QString> name = reader.next_field()) {
        const std::optional<QString> value_field = reader.next_field();
        const std::optional<double> number = value_field ? field_number(*value_field) : std::nullopt;
        if (!value_field || (!value_field->trimmed().isEmpty() && !number)) {
            content.damaged_at = name->trimmed();
            break;
        }
        content.pairs.append({*name, number ? catalogue::Value(*number) : catalogue::Value()});
    }
    return content;
}

SettingsContent read_settings_file(const QString &path)
{
    const std::optional<QByteArray> bytes = read_regular_file(path, kSettingsSizeLimit);
    if (!bytes)
        return refused(QStringLiteral("Could not open file ") + text::visible(QDir::toNativeSeparators(path)));
    return parse_settings(*bytes);
}

} // namespace quvex::settings
