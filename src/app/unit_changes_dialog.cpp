#include "unit_changes_dialog.h"

#include "link/answer_number.h"
#include "message_box.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quvex::app {

UnitChangesDialog::UnitChangesDialog(QWidget *parent, const QList<rack::UnitChanges> &changes, const QStringList &units,
                                     const QString &locked)
    : QDialog(parent)
    , m_changes(changes)
    , m_list(new QTreeWidget)
{
    dress_as_panel(*this, parent);
    m_list->setObjectName(QStringLiteral("changes"));
    m_list->setAccessibleName(QStringLiteral("Changes since backup"));
    m_list->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Backup"), QStringLiteral("Unit")});
    for (qsizetype i = 0; i < changes.size(); ++i) {
        auto *unit = new QTreeWidgetItem(m_list, {units.value(i)});
        // Ticking the unit ticks all its items.
        unit->setFlags(unit->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
        for (const settings::Difference &difference : changes.at(i).differences) {
            auto *line = new QTreeWidgetItem(unit, {difference.name, link::format_wire_number(difference.file),
                                                    link::format_wire_number(difference.unit)});
            line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
            line->setCheckState(0, Qt::Checked);
        }
    }
    m_list->expandAll();
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox;
    QPushButton *send = buttons->addButton(QStringLiteral("Send checked"), QDialogButtonBox::AcceptRole);
    send->setObjectName(QStringLiteral("send_checked"));
    send->setDefault(true);
    send->setEnabled(locked.isEmpty());
    send->setToolTip(locked);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The units differ from their newest backup in these items.")));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(520, 360);
}

QList<rack::UnitChanges> UnitChangesDialog::checked() const
{
    QList<rack::UnitChanges> checked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *unit = m_list->topLevelItem(i);
        rack::UnitChanges ticked{m_changes.at(i).row, {}};
        for (int line = 0; line < unit->childCount(); ++line) {
            if (unit->child(line)->checkState(0) == Qt::Checked)
                ticked.differences.append(m_changes.at(i).differences.at(line));
        }
        if (!ticked.differences.isEmpty())
            checked.append(ticked);
    }
    return checked;
}

std::optional<QList<rack::UnitChanges>> choose_unit_changes(QWidget *parent, const QList<rack::UnitChanges> &changes,
                                                            const QStringList &units, const QString &locked)
{
    UnitChangesDialog dialog(parent, changes, units, locked);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.checked();
}

} // namespace quvex::app
