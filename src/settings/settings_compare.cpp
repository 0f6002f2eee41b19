#include "settings_compare.h"

#include "catalogue/naming.h"

#include <QHash>

namespace quvex::settings {

QList<Difference> compare_settings(const QList<SettingsPair> &file, const QList<SettingsPair> &unit)
{
    QHash<QString, catalogue::Value> unit_values;
    for (const SettingsPair &pair : unit)
        unit_values.insert(pair.name, pair.value);
    QList<Difference> differences;
    for (const SettingsPair &pair : file) {
        const auto found = unit_values.constFind(catalogue::pad_name(pair.name));
        if (found == unit_values.cend() || found->is_empty() || pair.value.is_empty())
            continue;
        if (pair.value.number() != found->number())
            differences.append({found.key().trimmed(), pair.value.number(), found->number()});
    }
    return differences;
}

bool names_item(const catalogue::Catalogue &catalogue, const catalogue::CurrentModel &model, const QString &name)
{
    const int index = catalogue::find_item(catalogue, model, name);
    return catalogue.is_entry(index) && !catalogue.entry(index).is_header();
}

QStringList unknown_names(const catalogue::Catalogue &catalogue, int model_index, const QList<SettingsPair> &pairs)
{
    catalogue::CurrentModel model;
    model.select(model_index);
    QStringList names;
    for (const SettingsPair &pair : pairs) {
        if (!names_item(catalogue, model, pair.name))
            names.append(pair.name.trimmed());
    }
    return names;
}

QList<SettingsPair> stored_pairs(const catalogue::Catalogue &catalogue, const catalogue::CurrentModel &model)
{
    QList<SettingsPair> pairs;
    for (int i = 1; i <= catalogue.item_count(); ++i) {
        const catalogue::Entry &entry = catalogue.entry(i);
        if (model.model_supports(entry.models) && !entry.is_header())
            pairs.append({entry.name, entry.value});
    }
    return pairs;
}

} // namespace quvex::settings
