#include "port_menu.h"

#include "catalogue/unit_models.h"
#include "link/link.h"
#include "panel/panel.h"
#include "ports/port_device.h"
#include "probe/detection.h"
#include "text/visible_text.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

namespace quvex::app {

namespace {

const QString &model_name(int index)
{
    return catalogue::unit_models().at(std::size_t(index)).display_name;
}

QString entry_text(const ports::PortEntry &port)
{
    QStringList words{text::visible(port.device), text::visible(port.description)};
    words.removeAll(QString());
    return words.join(QStringLiteral("  "));
}

} // namespace

PortMenu::PortMenu(QMenu &menu, QAction &entries_end, QWidget &window, const WindowHooks &hooks)
    : QObject(&menu)
    , m_menu(menu)
    , m_entries_end(entries_end)
    , m_window(window)
    , m_hooks(hooks)
    , m_find_units(menu.addAction(QStringLiteral("Find units")))
    , m_detect_model(menu.addAction(QStringLiteral("Detect model")))
{
    m_find_units->setObjectName(QStringLiteral("find_units"));
    m_detect_model->setObjectName(QStringLiteral("detect_model"));
    connect(&menu, &QMenu::aboutToShow, this, &PortMenu::refresh);
}

void PortMenu::attach(link::Link &link, panel::Panel &panel, link::OperatorSide &operator_side, QLineEdit &port_box,
                      Act act)
{
    m_link = &link;
    m_panel = &panel;
    m_operator = &operator_side;
    m_port_box = &port_box;
    m_act = std::move(act);
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
        connect(entry, &QAction::triggered, this, [this, port] { m_act([this, port] { use_port(port); }); });
        m_menu.insertAction(&m_entries_end, entry);
        m_entries.append(entry);
    }
}

QList<ports::PortEntry> PortMenu::listed_ports() const
{
    return ports::list_ports(m_hooks.system_ports ? m_hooks.system_ports() : QList<ports::SystemPort>(),
                             m_hooks.by_id_folder);
}

QString PortMenu::open_device() const
{
    return m_link->is_port_open() ? ports::port_device(m_link->port_number()) : QString();
}

bool PortMenu::use_port(const ports::PortEntry &port)
{
    if (port.number != 0) {
        m_port_box->setText(QString::number(port.number));
        return true;
    }
    if (m_link->is_port_open())
        return false;
    // The by-id name keeps the adapter's number when it is plugged in elsewhere or the system
    // numbers its devices anew.
    return link_number(m_link->port_number(), port.stable_name.isEmpty() ? port.device : port.stable_name);
}

bool PortMenu::link_number(int number, const QString &target)
{
    const QString now = ports::port_device(number);
    const bool named = QFileInfo(ports::port_link_path(number)).isSymLink() || QFileInfo::exists(now);
    if (named && ports::canonical_device(now) != ports::canonical_device(target)
        && !(m_hooks.ask
             && m_hooks.ask(&m_window, QStringLiteral("COM %1 is %2 now. Make it %3 instead?")
                                           .arg(number)
                                           .arg(text::visible(now), text::visible(target)))))
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
    const QString open = open_device();
    const std::optional<probe::ProbeResult> chosen =
        m_hooks.find_units(&m_window, listed_ports(), open, m_panel->model().index());
    if (!chosen || chosen->outcome != probe::ProbeOutcome::Found)
        return;
    if (!open.isEmpty()) {
        if (ports::canonical_device(chosen->port.device) == ports::canonical_device(open))
            return; // the panel's own unit, as it is
        // As choosing "Dis-connected" does, before the port box may change.
        m_panel->quvex_Click(catalogue::kDisconnected);
    }
    if (use_port(chosen->port))
        m_panel->quvex_Click(chosen->model_index);
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
    if (found == 0) {
        m_operator->show_message(QStringLiteral("The unit's answers fit no QUVEX model."));
        return;
    }
    select_detected(found);
}

void PortMenu::select_detected(int model_index)
{
    const int chosen = m_panel->model().index();
    if (chosen == model_index)
        return;
    if (chosen != catalogue::kDisconnected)
        m_operator->show_message(QStringLiteral("The unit on COM %1 is %2, not %3 as chosen.")
                                     .arg(m_link->port_number())
                                     .arg(model_name(model_index), model_name(chosen)));
    m_panel->quvex_Click(model_index);
}

} // namespace quvex::app
