#pragma once

#include "ports/port_list.h"
#include "probe/unit_finder.h"
#include "window_hooks.h"

#include <QObject>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;

namespace quvex::link {
class Link;
class OperatorSide;
} // namespace quvex::link
namespace quvex::panel {
class Panel;
}

namespace quvex::app {

// The Port menu, finding and reaching the unit: one entry per candidate port, read afresh each
// time the menu opens, then "Find units", "Detect model", "Network port..." and "Units...", and
// last of all "Wire log". The number that is open is never relinked: while a port is open the entries and
// Network port... are disabled, as the port box is. What a choice does is the finder's to decide;
// the menu asks it, and asks the operator and shows the outcome.
class PortMenu final : public QObject
{
    Q_OBJECT

public:
    using Act = std::function<void(const std::function<void()> &)>;

    // Adds the menu at the end of the bar; window is the parent of its dialogs.
    PortMenu(QMenuBar &bar, QLineEdit &port_box, QWidget &window, const WindowHooks &hooks);

    // Wire log only opens a window: a value typed into the box is not sent for it.
    QAction &wire_log_action() const { return *m_wire_log; }
    // Units..., shown once there is a rack to show.
    QAction &units_action() const { return *m_units; }

    // The core arrives after the window; act runs an operator's action as the window does.
    void attach(link::Link &link, panel::Panel &panel, link::OperatorSide &operator_side, Act act);

    // As Find units' Connect: the panel connects to the unit found, with its model.
    void connect_to(const probe::ProbeResult &unit);

Q_SIGNALS:
    // The number in the box now names another device.
    void port_linked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void find_units();
    void detect_model();
    void network_port();
    // Makes port number N mean target, asking first when N names something else now.
    bool link_number(int number, const QString &target);
    void refresh();
    QList<ports::PortEntry> listed_ports() const;
    probe::UnitFinder finder() const;
    // Puts the port's number in the box, or links the port as the finder says.
    bool use_port(const probe::UnitFinder::PortUse &use);

    QMenu &m_menu;
    QLineEdit &m_port_box;
    QWidget &m_window;
    const WindowHooks &m_hooks;
    QAction *m_entries_end;
    QAction *m_find_units;
    QAction *m_detect_model;
    QAction *m_network_port;
    QAction *m_units;
    QAction *m_wire_log;
    QList<QAction *> m_entries;
    link::Link *m_link = nullptr;
    panel::Panel *m_panel = nullptr;
    link::OperatorSide *m_operator = nullptr;
    Act m_act;
};

} // namespace quvex::app
