#pragma once

#include "settings/settings_compare.h"

#include <QDialog>

#include <optional>

class QTreeWidget;

namespace quvex::app {

// The items where the unit differs from the settings file, one line each with the file's and
// the unit's value and a check box, all checked at first. "Send checked" accepts it.
class CompareDialog final : public QDialog
{
public:
    CompareDialog(QWidget *parent, const QList<settings::Difference> &differences);

    QTreeWidget &list() const { return *m_list; }
    // In the order listed.
    QList<settings::Difference> checked() const;

private:
    QList<settings::Difference> m_differences;
    QTreeWidget *m_list;
};

// Shows the dialog modally: the checked items, or nothing when it is cancelled.
std::optional<QList<settings::Difference>> choose_differences(QWidget *parent,
                                                              const QList<settings::Difference> &differences);

} // namespace quvex::app
