#include "main_window.h"

#include "colours.h"
#include "control_form.h"
#include "edit_menu.h"
#include "file_menu.h"
#include "link/link.h"
#include "link/stop_signals.h"
#include "list_choice.h"
#include "menu_items.h"
#include "message_box.h"
#include "panel/panel.h"
#include "pending_value.h"
#include "pictures.h"
#include "port_menu.h"
#include "ports/port_device.h"
#include "rack/rack.h"
#include "readme_viewer.h"
#include "session/unit_session.h"
#include "status_line.h"
#include "text/visible_text.h"
#include "unit_menus.h"
#include "units_window.h"
#include "window_fit.h"
#include "wire_log_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include <utility>

namespace quvex::app {

namespace {

using CommandHandler = void (panel::Panel::*)();

const std::pair<int, CommandHandler> kCommandHandlers[] = {
    {1, &panel::Panel::Command1_Click},   {2, &panel::Panel::Command2_Click},   {3, &panel::Panel::Command3_Click},
    {4, &panel::Panel::Command4_Click},   {5, &panel::Panel::Command5_Click},   {6, &panel::Panel::Command6_Click},
    {7, &panel::Panel::Command7_Click},   {8, &panel::Panel::Command8_Click},   {9, &panel::Panel::Command9_Click},
    {10, &panel::Panel::Command10_Click}, {11, &panel::Panel::Command11_Click}, {12, &panel::Panel::Command12_Click},
    {13, &panel::Panel::Command13_Click}, {20, &panel::Panel::Command20_Click}, {21, &panel::Panel::Command21_Click},
    {22, &panel::Panel::Command22_Click}, {24, &panel::Panel::Command24_Click},
};

} // namespace

MainWindow::MainWindow(WindowHooks hooks, QWidget *parent)
    : QMainWindow(parent)
    , m_hooks(std::move(hooks))
    , m_form(new ControlForm)
    , m_status(*statusBar())
    , m_view(*m_form)
    , m_operator(*this, m_form->commport(), m_status.hint(), m_hooks)
    , m_wire_log_window(new WireLogWindow(*this, m_hooks))
    , m_wire_log_lines([this](const QString &line) { m_wire_log_window->add_line(line); })
{
    setObjectName(QStringLiteral("QUVEXSP"));
    setWindowTitle(kApplicationTitle);
    setWindowIcon(window_icon());

    // Built from the face colour so the raised and sunken edges are shades of it.
    QPalette grey(face_grey());
    grey.setColor(QPalette::Base, Qt::white);
    setPalette(grey);

    setCentralWidget(m_form);
    m_readme = new ReadmeViewer(*this, m_hooks.environment, m_hooks.program_folder);
    make_menus();
    fit_to_screen(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::make_menus()
{
    QMenuBar &bar = *menuBar();
    m_file = new FileMenu(bar, *this, m_hooks);
    m_edit = new EditMenu(bar, *statusBar(), m_form->item_value(), m_hooks.config_file);
    m_unit_menus = new UnitMenus(bar);
    m_port_menu = new PortMenu(bar, m_form->commport(), *this, m_hooks);
    m_quick_ref = add_item(*add_menu(bar, "help", QStringLiteral("Help")), "quick_ref", QStringLiteral("README.TXT"));
}

void MainWindow::attach(session::UnitSession &session, settings::SettingsFile &settings)
{
    m_session = &session;
    m_link = &session.link;
    m_link->set_wire_observer(&m_wire_log_lines);
    m_panel = &session.panel;
    panel::Panel &panel = session.panel;
    session.tell_mode = [this](const QString &left) { m_operator.show_message(left); };
    m_settings = &settings;
    panel.set_progress_hook([this](const QString &verb, int done, int total, const QString &item) {
        m_status.show_progress(verb, done, total, item);
    });
    connect_controls();
    connect_menus();
    commport_Change(m_form->commport().text());
#ifndef QT_NO_SESSIONMANAGER
    // A logout must not leave the unit in a mode the panel switched it to.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { stop(); });
#endif
}

void MainWindow::attach_backups(backup::UnitBackup &backups)
{
    m_file->attach_backups(backups);
}

void MainWindow::attach_rack(rack::Rack &rack)
{
    m_rack = &rack;
    m_units = new UnitsWindow(*this, rack, m_hooks, m_edit->lock_action());
    m_port_menu->units_action().setVisible(true);
    // The watch may be asking the panel's next port this moment: it lets go before the panel opens it.
    m_link->set_before_open(
        [this] { m_rack->set_own_port(ports::port_device(m_link->port_number()), m_panel->model().index(), {}); });
    connect(&m_port_menu->units_action(), &QAction::triggered, m_units, &UnitsWindow::show_beside_panel);
    connect(m_units, &UnitsWindow::open_in_panel, this, [this](const probe::ProbeResult &unit) {
        // Not in the middle of the panel's own exchange, which the port must not be taken from.
        if (m_operator.is_busy())
            return;
        act([&] { m_port_menu->connect_to(unit); });
        activateWindow();
    });
    tell_rack();
}

void MainWindow::tell_rack()
{
    if (!m_rack || !m_link)
        return;
    const bool open = m_link->is_port_open();
    m_rack->set_own_port(open ? ports::port_device(m_link->port_number()) : QString(), m_panel->model().index(),
                         m_link->state().no_response_error ? QStringLiteral("no answer") : QStringLiteral("answers"));
}

void MainWindow::stop_on(link::StopSignals &stop_signals)
{
    m_session->stop_on(stop_signals, [this] { stop(); });
}

void MainWindow::stop()
{
    if (m_link->state().stopping)
        return;
    m_link->request_stop();
    m_operator.stop([this] { end_stopped_session(); });
    // Whatever waits for the operator's OK or choice goes on without it.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
            dialog->reject();
    }
}

void MainWindow::end_stopped_session()
{
    if (m_operator.is_busy() || std::exchange(m_exiting, true))
        return;
    m_session->end_run();
    m_hooks.quit();
}

void MainWindow::connect_controls()
{
    panel::Panel &panel = *m_panel;
    ControlForm &form = *m_form;
    connect(&form.commport(), &QLineEdit::textChanged, this, &MainWindow::commport_Change);
    connect(&form.quvex(), &QButtonGroup::idClicked, this,
            [this, &panel](int index) { act([&] { panel.quvex_Click(index); }); });
    connect(&form.feat(), &QButtonGroup::idClicked, this,
            [this, &panel](int position) { act([&] { panel.feat_Click(position); }); });
    connect(&form.inc(), &QPushButton::clicked, this, [this, &panel] { act([&] { panel.inc_Click(); }); });
    connect(&form.dec(), &QPushButton::clicked, this, [this, &panel] { act([&] { panel.dec_Click(); }); });
    connect(new ListChoice(form.menu_list()), &ListChoice::chosen, this,
            [this, &panel](int row) { act([&] { panel.menu_list_Click(row); }); });
    m_pending_value = std::make_unique<PendingValue>(form.item_value(), m_operator, [this] { item_value_LostFocus(); });
    connect(&form.item_value(), &QLineEdit::returnPressed, this, &MainWindow::item_value_returnPressed);

    for (const auto &[number, handler] : kCommandHandlers) {
        connect(form.commands().at(number), &QPushButton::clicked, this,
                [this, &panel, handler = handler] { act([&] { (panel.*handler)(); }); });
    }
}

void MainWindow::connect_menus()
{
    const auto run = [this](auto &action) { act(action); };
    m_file->attach(*m_panel, *m_settings, run);
    connect(m_file, &FileMenu::exit_chosen, this, &MainWindow::exit_Click);
    m_edit->attach(*m_panel, run);
    m_unit_menus->attach(*m_panel, run);
    m_port_menu->attach(*m_link, *m_panel, m_operator, run);
    connect(m_port_menu, &PortMenu::port_linked, this, [this] { commport_Change(m_form->commport().text()); });
    connect(&m_port_menu->wire_log_action(), &QAction::triggered, m_wire_log_window, &WireLogWindow::show_beside_panel);
    connect(m_quick_ref, &QAction::triggered, this, [this] { act([this] { quick_ref_Click(); }); });
}

void MainWindow::commport_Change(const QString &text)
{
    m_link->commport_Change(text);
    tell_rack();
    const int number = m_link->port_number();
    m_form->commport().setToolTip(
        QStringLiteral("COM %1 is %2").arg(number).arg(text::visible(ports::port_device(number))));
}

void MainWindow::act(const std::function<void()> &action)
{
    // A value typed into the box goes to the unit before the action that took the focus away.
    m_pending_value->commit();
    action();
    tell_rack();
}

void MainWindow::item_value_returnPressed()
{
    // Type, Enter, type the next: the box keeps the focus with the unit's answer selected.
    item_value_LostFocus();
    m_form->item_value().selectAll();
}

void MainWindow::item_value_LostFocus()
{
    // Focus that goes while the core has the window locked was taken by the core, not left
    // by the operator; and the exchange this starts must not start another one.
    if (m_in_lost_focus || m_operator.is_busy() || !m_panel)
        return;
    m_in_lost_focus = true;
    m_panel->item_value_LostFocus(m_form->item_value().text());
    m_in_lost_focus = false;
}

void MainWindow::exit_Click()
{
    // Ends the program as it stands: the port is not closed first and nothing is shown.
    m_exiting = true;
    m_hooks.quit();
}

void MainWindow::quick_ref_Click()
{
    const QString failure = m_readme->open();
    if (!failure.isEmpty())
        m_operator.show_message(failure);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_exiting || !m_link) {
        event->accept();
        return;
    }
    // Closing in the middle of an operation would pull the port from under an exchange, and
    // its warnings would appear for a window that is gone.
    if (m_operator.is_busy()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    // The program ends with its window, also when the close came from inside a nested event
    // loop, where the last window closing does not end the main loop by itself.
    m_hooks.quit();
}

void MainWindow::Form_Unload()
{
    m_link->close_port();
}

} // namespace quvex::app
