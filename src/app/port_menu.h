#pragma once

#include "ports/port_list.h"
#include "window_hooks.h"

#include <QObject>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;

namespace quvex::link {
class Link;
class OperatorSide;
} // namespace quvex::link
namespace quvex::panel {
class Panel;
}

namespace quvex::app {

// The Port menu's own items: one entry per candidate port above the menu's first separator,
// read afresh each time the menu opens, and "Find units" and "Detect model" right below it.
// Items that others put in the menu are left as they are. The number that is open is never
// relinked: while a port is open the entries are disabled, as the port box is.
class PortMenu final : public QObject
{
    Q_OBJECT

public:
    using Act = std::function<void(const std::function<void()> &)>;

    PortMenu(QMenu &menu, QAction &entries_end, QWidget &window, const WindowHooks &hooks);

    QAction &find_units_action() const { return *m_find_units; }
    QAction &detect_model_action() const { return *m_detect_model; }

    // The core arrives after the window; act runs an operator's action as the window does.
    void attach(link::Link &link, panel::Panel &panel, link::OperatorSide &operator_side, QLineEdit &port_box, Act act);

    void find_units();
    void detect_model();
    // Makes port number N mean target, asking first when N names something else now.
    bool link_number(int number, const QString &target);

Q_SIGNALS:
    // The number in the box now names another device.
    void port_linked();

private:
    void refresh();
    QList<ports::PortEntry> listed_ports() const;
    // Puts the port's number in the box, or links the port as the number in the box.
    bool use_port(const ports::PortEntry &port);
    QString open_device() const;
    void select_detected(int model_index);

    QMenu &m_menu;
    QAction &m_entries_end;
    QWidget &m_window;
    const WindowHooks &m_hooks;
    QAction *m_find_units;
    QAction *m_detect_model;
    QList<QAction *> m_entries;
    link::Link *m_link = nullptr;
    panel::Panel *m_panel = nullptr;
    link::OperatorSide *m_operator = nullptr;
    QLineEdit *m_port_box = nullptr;
    Act m_act;
};

} // namespace quvex::app
