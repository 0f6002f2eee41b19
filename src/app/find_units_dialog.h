#pragma once

#include "probe/port_probe.h"

#include <QDialog>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace quvex::app {

// Find units: probes every candidate port at once and lists each as its result comes (port,
// device, model or why not). A found unit can be chosen; Cancel stops the probing.
class FindUnitsDialog final : public QDialog
{
public:
    FindUnitsDialog(QWidget *parent, const QList<ports::PortEntry> &ports, const QString &open_device, int open_model);

    // The found unit chosen; nothing while none is.
    std::optional<probe::ProbeResult> chosen() const;

private:
    void add_result(const probe::ProbeResult &result);
    void all_probed();

    probe::PortProber m_prober;
    QList<probe::ProbeResult> m_results; // in the order listed
    QTreeWidget *m_list;
    QProgressBar *m_progress;
    QLabel *m_state;
    QPushButton *m_connect;
};

// Shows the dialog modally: the found unit chosen, or nothing when it is cancelled.
std::optional<probe::ProbeResult> find_units(QWidget *parent, const QList<ports::PortEntry> &ports,
                                             const QString &open_device, int open_model);

} // namespace quvex::app
