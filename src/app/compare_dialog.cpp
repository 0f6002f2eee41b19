#include "compare_dialog.h"

#include "link/answer_number.h"
#include "message_box.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quvex::app {

CompareDialog::CompareDialog(QWidget *parent, const QList<settings::Difference> &differences)
    : QDialog(parent)
    , m_differences(differences)
    , m_list(new QTreeWidget)
{
    dress_as_panel(*this, parent);
    m_list->setObjectName(QStringLiteral("differences"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("File"), QStringLiteral("Unit")});
    for (const settings::Difference &difference : differences) {
        auto *line = new QTreeWidgetItem(m_list, {difference.name, link::format_wire_number(difference.file),
                                                  link::format_wire_number(difference.unit)});
        line->setCheckState(0, Qt::Checked);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox;
    QPushButton *send = buttons->addButton(QStringLiteral("Send checked"), QDialogButtonBox::AcceptRole);
    send->setObjectName(QStringLiteral("send_checked"));
    send->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The unit differs from the file in these items.")));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

QList<settings::Difference> CompareDialog::checked() const
{
    QList<settings::Difference> checked;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (m_list->topLevelItem(row)->checkState(0) == Qt::Checked)
            checked.append(m_differences.at(row));
    }
    return checked;
}

std::optional<QList<settings::Difference>> choose_differences(QWidget *parent,
                                                              const QList<settings::Difference> &differences)
{
    CompareDialog dialog(parent, differences);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.checked();
}

} // namespace quvex::app
