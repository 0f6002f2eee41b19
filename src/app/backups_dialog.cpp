#include "backups_dialog.h"

#include "message_box.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quvex::app {

BackupsDialog::BackupsDialog(QWidget *parent, const QList<backup::ListedVersion> &versions)
    : QDialog(parent)
    , m_versions(versions)
    , m_list(new QTreeWidget)
{
    dress_as_panel(*this, parent);
    m_list->setObjectName(QStringLiteral("versions"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Time (UTC)"), QStringLiteral("Items changed")});
    for (const backup::ListedVersion &listed : versions)
        new QTreeWidgetItem(m_list, {listed.version.time,
                                     listed.changed < 0 ? QStringLiteral("first") : QString::number(listed.changed)});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setCurrentItem(m_list->topLevelItem(0));

    auto *buttons = new QDialogButtonBox;
    QPushButton *compare = buttons->addButton(QStringLiteral("Compare with unit"), QDialogButtonBox::AcceptRole);
    compare->setObjectName(QStringLiteral("compare_with_unit"));
    compare->setDefault(true);
    buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The versions of this unit's settings, newest first.")));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

QString BackupsDialog::chosen() const
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row < 0 ? QString() : m_versions.at(row).version.path;
}

std::optional<QString> choose_backup(QWidget *parent, const QList<backup::ListedVersion> &versions)
{
    BackupsDialog dialog(parent, versions);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty())
        return std::nullopt;
    return dialog.chosen();
}

} // namespace quvex::app
