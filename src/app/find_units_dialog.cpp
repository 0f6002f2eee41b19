#include "find_units_dialog.h"

#include "message_box.h"
#include "text/visible_text.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quvex::app {

FindUnitsDialog::FindUnitsDialog(QWidget *parent, const QList<ports::PortEntry> &ports, const QString &open_device,
                                 int open_model)
    : QDialog(parent)
    , m_list(new QTreeWidget)
    , m_progress(new QProgressBar)
    , m_state(new QLabel(QStringLiteral("Asking %1 ports which unit they have...").arg(ports.size())))
{
    dress_as_panel(*this, parent);
    m_list->setObjectName(QStringLiteral("units"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("Device"), QStringLiteral("Unit")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, int(ports.size()));
    m_progress->setValue(0);
    m_state->setObjectName(QStringLiteral("state"));

    auto *buttons = new QDialogButtonBox;
    m_connect = buttons->addButton(QStringLiteral("Connect"), QDialogButtonBox::AcceptRole);
    m_connect->setObjectName(QStringLiteral("connect"));
    m_connect->setEnabled(false);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { m_connect->setEnabled(chosen().has_value()); });
    connect(m_list, &QTreeWidget::itemActivated, this, [this] {
        if (chosen())
            accept();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_state);
    layout->addWidget(m_progress);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(560, 300);

    connect(&m_prober, &probe::PortProber::probed, this, &FindUnitsDialog::add_result);
    connect(&m_prober, &probe::PortProber::finished, this, &FindUnitsDialog::all_probed);
    m_prober.start(ports, open_device, open_model);
}

void FindUnitsDialog::add_result(const probe::ProbeResult &result)
{
    // Found units above the ports that gave none, each group in the order the ports answered.
    const bool found = result.outcome == probe::ProbeOutcome::Found;
    qsizetype row = found ? 0 : m_results.size();
    while (found && row < m_results.size() && m_results.at(row).outcome == probe::ProbeOutcome::Found)
        ++row;
    m_results.insert(row, result);
    const ports::PortEntry &port = result.port;
    auto *line = new QTreeWidgetItem({port.number ? QStringLiteral("COM %1").arg(port.number) : QString(),
                                      text::visible(port.device), probe::probe_text(result)});
    if (!found)
        line->setFlags(Qt::ItemIsEnabled); // shown, not chosen
    m_list->insertTopLevelItem(int(row), line);
    m_progress->setValue(int(m_results.size()));
}

void FindUnitsDialog::all_probed()
{
    int found = 0;
    for (const probe::ProbeResult &result : m_results)
        found += result.outcome == probe::ProbeOutcome::Found;
    m_state->setText(
        found == 0
            ? QStringLiteral("No unit answered.")
            : QStringLiteral("%1 of %2 ports have a unit: choose one to connect to.").arg(found).arg(m_results.size()));
}

std::optional<probe::ProbeResult> FindUnitsDialog::chosen() const
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || !m_list->currentItem()->isSelected() || m_results.at(row).outcome != probe::ProbeOutcome::Found)
        return std::nullopt;
    return m_results.at(row);
}

std::optional<probe::ProbeResult> find_units(QWidget *parent, const QList<ports::PortEntry> &ports,
                                             const QString &open_device, int open_model)
{
    FindUnitsDialog dialog(parent, ports, open_device, open_model);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace quvex::app
