#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "settings_content.h"

#include <QList>
#include <QString>

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

// The values the catalogue holds for every item of the model, headers left out, as a save lists them.
QList<SettingsPair> stored_pairs(const catalogue::Catalogue &catalogue, const catalogue::CurrentModel &model);

} // namespace quvex::settings
