#pragma once

#include "rack/unit_row.h"

#include <QDialog>

#include <optional>

class QTreeWidget;

namespace quvex::app {

// Changes since backup for several units at once: one branch per unit, named by its port and
// name, with a line per item that differs (the backup's value and the unit's) and a check box,
// all checked at first. "Send checked" accepts it; while changes are locked it is off and says
// why.
class UnitChangesDialog final : public QDialog
{
public:
    // units: how each of changes' units is named, in the same order; locked: why nothing may be
    // sent, empty when it may.
    UnitChangesDialog(QWidget *parent, const QList<rack::UnitChanges> &changes, const QStringList &units,
                      const QString &locked);

    QTreeWidget &list() const { return *m_list; }
    // The units with their checked items, in the order listed; units with none are left out.
    QList<rack::UnitChanges> checked() const;

private:
    QList<rack::UnitChanges> m_changes;
    QTreeWidget *m_list;
};

// Shows the dialog modally: the checked items, or nothing when it is cancelled.
std::optional<QList<rack::UnitChanges>> choose_unit_changes(QWidget *parent, const QList<rack::UnitChanges> &changes,
                                                            const QStringList &units, const QString &locked);

} // namespace quvex::app
