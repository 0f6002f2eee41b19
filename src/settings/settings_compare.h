#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "settings_content.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quvex::settings {

// An item whose value in a settings file is not the unit's; the name as the list shows it.
struct Difference
{
    QString name;
    double file = 0;
    double unit = 0;

    friend bool operator==(const Difference &, const Difference &) = default;
};

// Gets the differences shown to the operator and gives back those to send, in the same order;
// nothing when the operator cancels.
using DifferenceChooser = std::function<std::optional<QList<Difference>>(const QList<Difference> &differences)>;

// The file's pairs whose value the unit does not hold, in file order. A file name matches as a
// load finds it (padded to the catalogue's width, exactly); the unit's pairs carry the
// catalogue's own names. A name the unit has no pair for is not an item of its model and would
// not be loaded; an empty value on either side is no number to compare, so neither is compared.
QList<Difference> compare_settings(const QList<SettingsPair> &file, const QList<SettingsPair> &unit);

// Whether a name from a file is an item of the model: padded to the catalogue's width and
// compared exactly, as a load finds it, so another letter case is none; nor is a heading.
bool names_item(const catalogue::Catalogue &catalogue, const catalogue::CurrentModel &model, const QString &name);

// The names of the pairs that are no item of the model with this index, trimmed, in file order:
// the lines a load or a compare of the file passes over.
QStringList unknown_names(const catalogue::Catalogue &catalogue, int model_index, const QList<SettingsPair> &pairs);

// The values the catalogue holds for every item of the model, headers left out, as a save lists them.
QList<SettingsPair> stored_pairs(const catalogue::Catalogue &catalogue, const catalogue::CurrentModel &model);

} // namespace quvex::settings
