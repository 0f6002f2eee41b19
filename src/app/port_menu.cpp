#include "port_menu.h"

#include "catalogue/unit_models.h"
#include "link/link.h"
#include "menu_items.h"
#include "panel/panel.h"
#include "ports/port_device.h"
#include "probe/detection.h"
#include "probe/unit_finder.h"
#include "text/visible_text.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace quvex::app {

namespace {

QString entry_text(const ports::PortEntry &port)
{
    QStringList words{text::visible(port.device), text::visible(port.description)};
    words.removeAll(QString());
    return words.join(QStringLiteral("  "));
}

} // namespace

PortMenu::PortMenu(QMenuBar &bar, QLineEdit &port_box, QWidget &window, const WindowHooks &hooks)
    : QObject(&bar)
    , m_menu(*add_menu(bar, "port", QStringLiteral("Port")))
    , m_port_box(port_box)
    , m_window(window)
    , m_hooks(hooks)
    , m_entries_end(m_menu.addSeparator())
    , m_find_units(add_item(m_menu, "find_units", QStringLiteral("Find units")))
    , m_detect_model(add_item(m_menu, "detect_model", QStringLiteral("Detect model")))
    , m_network_port(add_item(m_menu, "network_port", QStringLiteral("Network port...")))
    , m_units(add_item(m_menu, "units", QStringLiteral("Units...")))
{
    m_units->setVisible(false);
    m_entries_end->setObjectName(QStringLiteral("port_entries_end"));
    // Last of all, below the items that find and reach the unit.
    m_menu.addSeparator()->setObjectName(QStringLiteral("wire_log_start"));
    m_wire_log = add_item(m_menu, "wire_log", QStringLiteral("Wire log"));
    connect(&m_menu, &QMenu::aboutToShow, this, &PortMenu::refresh);
    // What a port number means may change only while the number itself may.
    m_port_box.installEventFilter(this);
}

void PortMenu::attach(link::Link &link, panel::Panel &panel, link::OperatorSide &operator_side, Act act)
{
    m_link = &link;
    m_panel = &panel;
    m_operator = &operator_side;
    m_act = std::move(act);
    connect(m_find_units, &QAction::triggered, this, [this] { m_act([this] { find_units(); }); });
    connect(m_detect_model, &QAction::triggered, this, [this] { m_act([this] { detect_model(); }); });
    connect(m_network_port, &QAction::triggered, this, [this] { m_act([this] { network_port(); }); });
}

bool PortMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_port_box && event->type() == QEvent::EnabledChange)
        m_network_port->setEnabled(m_port_box.isEnabled());
    return QObject::eventFilter(watched, event);
}

void PortMenu::refresh()
{
    for (QAction *entry : std::exchange(m_entries, {})) {
        m_menu.removeAction(entry);
        entry->deleteLater();
    }
    if (!m_link)
        return;
    const QList<ports::PortEntry> listed = listed_ports();
    const int box_number = m_link->port_number();
    for (const ports::PortEntry &port : listed) {
        // An ampersand in a device's description must not turn into an access key.
        QString text = port.number ? QStringLiteral("COM %1  ").arg(port.number)
                                   : QStringLiteral("Link as COM %1:  ").arg(box_number);
        text += entry_text(port).replace(u'&', QStringLiteral("&&"));
        auto *entry = new QAction(text, &m_menu);
        entry->setObjectName(QStringLiteral("port_entry"));
        entry->setEnabled(!m_link->is_port_open());
        connect(entry, &QAction::triggered, this,
                [this, port] { m_act([this, port] { use_port(finder().use(port)); }); });
        m_menu.insertAction(m_entries_end, entry);
        m_entries.append(entry);
    }
}

QList<ports::PortEntry> PortMenu::listed_ports() const
{
    return ports::list_ports(m_hooks.system_ports ? m_hooks.system_ports() : QList<ports::SystemPort>(),
                             m_hooks.by_id_folder);
}

probe::UnitFinder PortMenu::finder() const
{
    return {m_link->port_number(), m_link->is_port_open() ? ports::port_device(m_link->port_number()) : QString()};
}

bool PortMenu::use_port(const probe::UnitFinder::PortUse &use)
{
    if (use.box_number != 0) {
        m_port_box.setText(QString::number(use.box_number));
        return true;
    }
    return use.link_number != 0 && link_number(use.link_number, use.link_target);
}

bool PortMenu::link_number(int number, const QString &target)
{
    const QString question = probe::UnitFinder::link_question(number, target);
    if (!question.isEmpty() && !(m_hooks.ask && m_hooks.ask(&m_window, question)))
        return false;
    const QString failure = ports::link_port(number, target);
    if (!failure.isEmpty()) {
        m_operator->show_message(QStringLiteral("COM %1 could not be made %2.").arg(number).arg(text::visible(target)),
                                 {}, link::MessageIcon::None, failure);
        return false;
    }
    Q_EMIT port_linked();
    return true;
}

void PortMenu::find_units()
{
    if (!m_hooks.find_units)
        return;
    const probe::UnitFinder now = finder();
    const std::optional<probe::ProbeResult> chosen =
        m_hooks.find_units(&m_window, listed_ports(), now.open_device(), m_panel->model().index());
    if (chosen)
        connect_to(*chosen);
}

void PortMenu::connect_to(const probe::ProbeResult &unit)
{
    const std::optional<probe::UnitFinder::Connect> steps = finder().connect(unit);
    if (!steps)
        return;
    if (steps->disconnect_first)
        m_panel->quvex_Click(catalogue::kDisconnected);
    if (use_port(steps->port))
        m_panel->quvex_Click(steps->model_index);
}

void PortMenu::detect_model()
{
    const panel::Operation operation = m_panel->begin_operation();
    int found = 0;
    if (m_link->is_port_open()) {
        const probe::Detection detection = probe::detect_model(*m_link);
        if (!detection.answered)
            return; // the link has warned
        found = detection.model_index;
    } else {
        // Nothing is left open when no unit answers: the panel connects only to a unit it found.
        const int number = m_link->port_number();
        const probe::ProbeResult result = probe::probe_port({number, ports::port_device(number), {}, {}});
        if (result.outcome == probe::ProbeOutcome::NotOpened) {
            m_link->report_open_failure(result.reason);
            return;
        }
        if (result.outcome == probe::ProbeOutcome::NoAnswer) {
            m_link->report_no_response();
            return;
        }
        found = result.model_index;
    }
    const probe::UnitFinder::ModelChoice choice = finder().detected(found, m_panel->model().index());
    if (!choice.message.isEmpty())
        m_operator->show_message(choice.message);
    if (choice.model_index)
        m_panel->quvex_Click(*choice.model_index);
}

void PortMenu::network_port()
{
    const int number = m_link->port_number();
    const std::optional<QString> target = m_hooks.ask_network_port(&m_window, number, ports::port_device(number));
    if (target)
        link_number(number, *target);
}

} // namespace quvex::app
