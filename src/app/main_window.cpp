#include "main_window.h"

#include "colours.h"
#include "control_form.h"
#include "edit_menu.h"
#include "focus_out_watch.h"
#include "link/link.h"
#include "link/stop_signals.h"
#include "list_choice.h"
#include "message_box.h"
#include "panel/panel.h"
#include "pictures.h"
#include "port_menu.h"
#include "ports/port_device.h"
#include "progress_text.h"
#include "readme_viewer.h"
#include "settings/settings_file.h"
#include "text/visible_text.h"
#include "wire_log_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>

#include <utility>

namespace quvex::app {

namespace {

// A caption is shown as it is; an ampersand in a path must not turn into an access key.
QString literal_caption(QString caption)
{
    return caption.replace(u'&', QStringLiteral("&&"));
}

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
    , m_recent(m_hooks.config_file)
    , m_form(new ControlForm)
    , m_wire_hint(new QLabel)
    , m_view(*m_form)
    , m_operator(*this, m_form->commport(), *m_wire_hint, m_hooks)
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
    // What a port number means may change only while the number itself may.
    m_form->commport().installEventFilter(this);
    statusBar()->setObjectName(QStringLiteral("status"));
    statusBar()->setAccessibleName(QStringLiteral("Progress"));
    statusBar()->setSizeGripEnabled(false);
    // A normal widget of the status line: a run's progress covers it while it lasts. It is longer
    // than the window is wide, and is read whole.
    m_wire_hint->setObjectName(QStringLiteral("wire_hint"));
    m_wire_hint->setWordWrap(true);
    statusBar()->addWidget(m_wire_hint, 1);

    m_progress_pace.setInterval(kProgressIntervalMs);
    m_progress_pace.setSingleShot(true);
    connect(&m_progress_pace, &QTimer::timeout, this, [this] {
        if (!m_progress.isEmpty() && m_progress != statusBar()->currentMessage())
            statusBar()->showMessage(m_progress);
    });

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setParent(this);
    m_timer1.setInterval(link::Link::kTickMs);
    fit_to_screen();
}

MainWindow::~MainWindow()
{
    // The core is gone before the window; the box losing its focus while the controls are torn
    // down must not reach it.
    delete m_value_focus;
}

void MainWindow::fit_to_screen()
{
    // The window system's title bar and borders are not known before the window is shown; the
    // style's own measures of them stand in.
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize room = screen()->availableGeometry().size() - QSize(2 * border, title + 2 * border);
    const QSize needed = sizeHint();
    if (needed.width() <= room.width() && needed.height() <= room.height()) {
        resize(needed);
        return;
    }
    // The controls keep their places and sizes at this scale, and so must scroll to be reached.
    // Locking the window still disables everything in it through the central widget.
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("form_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true); // the list still takes up what room there is
    scroll->setWidget(takeCentralWidget());
    setCentralWidget(scroll);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    const QSize bars(needed.height() > room.height() ? bar : 0, needed.width() > room.width() ? bar : 0);
    resize((needed + bars).boundedTo(room));
}

void MainWindow::make_menus()
{
    QMenu *file = m_file = make_menu("file", QStringLiteral("File"));
    m_fileopen = make_action(file, "fileopen", QString());
    m_filecompare = make_action(file, "filecompare", QString());
    m_filesave = make_action(file, "filesave", QString());
    file->addSeparator();
    m_open_file = make_action(file, "open_file", QStringLiteral("Open file..."));
    m_save_file = make_action(file, "save_file", QStringLiteral("Save to file..."));
    m_compare_file = make_action(file, "compare_file", QStringLiteral("Compare with file..."));
    // Shown, below a separator of their own, once there is a store to keep backups in.
    m_back_up_now = make_action(file, "back_up_now", QStringLiteral("Back up now"));
    m_backups = make_action(file, "backups", QStringLiteral("Backups..."));
    m_back_up_now->setVisible(false);
    m_backups->setVisible(false);
    // The files used last, filled in each time the menu opens; those not in use stay hidden.
    file->addSeparator();
    for (std::size_t i = 0; i < m_recent_files.size(); ++i) {
        m_recent_files[i] = make_action(file, ("recent_file_" + QByteArray::number(i + 1)).constData(), QString());
        m_recent_files[i]->setVisible(false);
    }
    connect(file, &QMenu::aboutToShow, this, &MainWindow::list_recent_files);
    file->addSeparator();
    m_exit = make_action(file, "exit", QStringLiteral("Exit"));
    m_edit = new EditMenu(*menuBar(), *statusBar(), m_form->item_value(), m_hooks.config_file);
    QMenu *nvr = make_menu("nvr", QStringLiteral("NVR"));
    m_store_settings = make_action(nvr, "store_settings", QStringLiteral("Store Settings"));
    m_vga_store = make_action(nvr, "vga_store", QStringLiteral("VGA Store"));
    QMenu *clone = make_menu("clone", QStringLiteral("Clone"));
    m_read_unit = make_action(clone, "read_unit", QStringLiteral("Read all from attached unit"));
    m_write_unit = make_action(clone, "write_unit", QStringLiteral("Write all to attached unit"));
    QMenu *reset = make_menu("reset", QStringLiteral("Reset"));
    m_reset_unit = make_action(reset, "reset_unit", QStringLiteral("Reset unit"));
    // Finding and reaching the unit: the port entries are read afresh above the first separator
    // each time the menu opens; the fixed items stand below it.
    m_port = make_menu("port", QStringLiteral("Port"));
    QAction *entries_end = m_port->addSeparator();
    entries_end->setObjectName(QStringLiteral("port_entries_end"));
    m_port_menu = new PortMenu(*m_port, *entries_end, *this, m_hooks);
    m_network_port = make_action(m_port, "network_port", QStringLiteral("Network port..."));
    // Last of all, below the items that find and reach the unit.
    m_port->addSeparator()->setObjectName(QStringLiteral("wire_log_start"));
    m_wire_log = make_action(m_port, "wire_log", QStringLiteral("Wire log"));
    QMenu *help = make_menu("help", QStringLiteral("Help"));
    m_quick_ref = make_action(help, "quick_ref", QStringLiteral("README.TXT"));
}

void MainWindow::list_recent_files()
{
    const QStringList paths = m_recent.existing();
    qsizetype i = 0;
    for (QAction *action : m_recent_files) {
        const QString path = paths.value(i);
        action->setVisible(i++ < paths.size());
        action->setData(path);
        action->setText(literal_caption(text::visible(QDir::toNativeSeparators(path))));
    }
}

QString MainWindow::choose_file(const QString &caption, FileDialogMode mode)
{
    const QString folder = m_recent.last_folder(QFileInfo(m_settings->path()).absolutePath());
    const QString path = m_hooks.choose_file(this, caption, folder, mode);
    if (!path.isEmpty())
        m_recent.add(path);
    return path;
}

QMenu *MainWindow::make_menu(const char *name, const QString &title)
{
    QMenu *menu = menuBar()->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction *MainWindow::make_action(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(literal_caption(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void MainWindow::attach(link::Link &link, panel::Panel &panel, settings::SettingsFile &settings)
{
    m_link = &link;
    link.set_wire_observer(&m_wire_log_lines);
    m_panel = &panel;
    m_settings = &settings;
    m_fileopen->setText(literal_caption(settings.open_caption()));
    m_filesave->setText(literal_caption(settings.save_caption()));
    m_filecompare->setText(literal_caption(settings.compare_caption()));
    panel.set_progress_hook([this](const QString &verb, int done, int total, const QString &item) {
        show_progress(verb, done, total, item);
    });
    connect_controls();
    connect_menus();
    m_edit->attach(panel, [this](auto &action) { act(action); });
    commport_Change(m_form->commport().text());

    connect(&m_timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    m_timer1.start();
#ifndef QT_NO_SESSIONMANAGER
    // A logout must not leave the unit in a mode the panel switched it to.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { stop(); });
#endif
}

void MainWindow::attach_backups(backup::UnitBackup &backups)
{
    m_file->insertSeparator(m_back_up_now);
    m_back_up_now->setVisible(true);
    m_backups->setVisible(true);
    connect(m_back_up_now, &QAction::triggered, this, [this, &backups] { act([&backups] { backups.back_up_now(); }); });
    connect(m_backups, &QAction::triggered, this, [this, &backups] {
        act([this, &backups] {
            const std::optional<QList<backup::ListedVersion>> versions = backups.versions();
            const std::optional<QString> chosen = versions ? m_hooks.choose_backup(this, *versions) : std::nullopt;
            if (chosen) {
                m_settings->compare_with(*chosen, [this](const QList<settings::Difference> &differences) {
                    return m_hooks.choose_differences(this, differences);
                });
            }
        });
    });
}

void MainWindow::stop_on(link::StopSignals &stop_signals)
{
    // Ending by the second signal runs no destructor: the device's lock goes in the last words.
    stop_signals.install([this] { stop(); },
                         [this] {
                             tell_unit_mode();
                             m_link->close_port();
                         });
    m_link->set_stop_poll([&stop_signals] { stop_signals.deliver(); });
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
    m_panel->end_stopped_session();
    tell_unit_mode();
    m_hooks.quit();
}

void MainWindow::tell_unit_mode()
{
    const QString left = m_panel->unit_mode_left();
    if (!left.isEmpty())
        m_operator.show_message(left);
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
    m_value_focus = new FocusOutWatch(&form.item_value());
    connect(m_value_focus, &FocusOutWatch::left, this, &MainWindow::item_value_left);
    connect(&form.item_value(), &QLineEdit::returnPressed, this, &MainWindow::item_value_returnPressed);

    for (const auto &[number, handler] : kCommandHandlers) {
        connect(form.commands().at(number), &QPushButton::clicked, this,
                [this, &panel, handler = handler] { act([&] { (panel.*handler)(); }); });
    }
}

void MainWindow::connect_menus()
{
    panel::Panel &panel = *m_panel;
    settings::SettingsFile &settings = *m_settings;
    const auto on = [this](QAction *action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { act(handler); });
    };
    const settings::DifferenceChooser choose = [this](const auto &differences) {
        return m_hooks.choose_differences(this, differences);
    };
    on(m_fileopen, [&settings] { settings.fileopen_Click(); });
    on(m_filecompare, [&settings, choose] { settings.filecompare_Click(choose); });
    on(m_filesave, [&settings] { settings.filesave_Click(); });
    on(m_open_file, [this, &settings, &panel] {
        // Refused before the operator picks a file for nothing.
        if (panel.changes().refuse())
            return;
        if (const QString path = choose_file(QStringLiteral("Open file"), FileDialogMode::Open); !path.isEmpty())
            settings.open_from(path);
    });
    on(m_save_file, [this, &settings] {
        if (const QString path = choose_file(QStringLiteral("Save to file"), FileDialogMode::Save); !path.isEmpty())
            settings.save_to(path);
    });
    on(m_compare_file, [this, &settings, choose] {
        if (const QString path = choose_file(QStringLiteral("Compare with file"), FileDialogMode::Open);
            !path.isEmpty())
            settings.compare_with(path, choose);
    });
    for (QAction *recent : m_recent_files) {
        on(recent, [this, &settings, &panel, recent] {
            const QString path = recent->data().toString();
            if (panel.changes().refuse())
                return;
            m_recent.add(path);
            settings.open_from(path);
        });
    }
    on(m_exit, [this] { exit_Click(); });
    on(m_store_settings, [&panel] { panel.store_settings_Click(); });
    on(m_vga_store, [&panel] { panel.vga_store_Click(); });
    on(m_read_unit, [&panel] { panel.read_unit_Click(); });
    on(m_write_unit, [&panel] { panel.write_unit_Click(); });
    on(m_reset_unit, [&panel] { panel.reset_unit_Click(); });
    on(m_quick_ref, [this] { quick_ref_Click(); });
    // Only opens a window: a value typed into the box is not sent for it.
    connect(m_wire_log, &QAction::triggered, m_wire_log_window, &WireLogWindow::show_beside_panel);
    m_port_menu->attach(*m_link, panel, m_operator, m_form->commport(), [this](auto &action) { act(action); });
    on(&m_port_menu->find_units_action(), [this] { m_port_menu->find_units(); });
    on(&m_port_menu->detect_model_action(), [this] { m_port_menu->detect_model(); });
    connect(m_port_menu, &PortMenu::port_linked, this, [this] { commport_Change(m_form->commport().text()); });
    on(m_network_port, [this] { network_port_Click(); });
}

void MainWindow::Timer1_Timer()
{
    m_link->Timer1_Timer();
}

void MainWindow::commport_Change(const QString &text)
{
    m_link->commport_Change(text);
    const int number = m_link->port_number();
    m_form->commport().setToolTip(
        QStringLiteral("COM %1 is %2").arg(number).arg(text::visible(ports::port_device(number))));
}

void MainWindow::act(const std::function<void()> &action)
{
    // A value typed into the box goes to the unit before the action that took the focus away.
    commit_pending_value();
    action();
}

void MainWindow::item_value_left(Qt::FocusReason reason)
{
    // Focus that goes while the core has the window locked was taken by the core; a box left
    // as the panel filled it has nothing to send (a walk with Tab must not talk to the unit).
    if (m_operator.is_busy() || !m_form->item_value().isModified())
        return;
    // Sent at once, the value would lock the window between the press and the release of the
    // click that took the focus, and that click would be lost. It goes with the click instead,
    // or when the button is released elsewhere.
    if (reason == Qt::MouseFocusReason) {
        m_commit_pending = true;
        qApp->installEventFilter(this);
        return;
    }
    item_value_LostFocus();
}

void MainWindow::item_value_returnPressed()
{
    // Type, Enter, type the next: the box keeps the focus with the unit's answer selected.
    item_value_LostFocus();
    m_form->item_value().selectAll();
}

void MainWindow::commit_pending_value()
{
    if (!std::exchange(m_commit_pending, false))
        return;
    qApp->removeEventFilter(this);
    item_value_LostFocus();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form->commport() && event->type() == QEvent::EnabledChange)
        m_network_port->setEnabled(m_form->commport().isEnabled());
    // After the release has been delivered: a click it made has sent the value already.
    if (event->type() == QEvent::MouseButtonRelease && m_commit_pending)
        QTimer::singleShot(0, this, &MainWindow::commit_pending_value);
    return QMainWindow::eventFilter(watched, event);
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

void MainWindow::network_port_Click()
{
    const int number = m_link->port_number();
    const std::optional<QString> target = m_hooks.ask_network_port(this, number, ports::port_device(number));
    if (target)
        m_port_menu->link_number(number, *target);
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

void MainWindow::show_progress(const QString &verb, int done, int total, const QString &item)
{
    // The status line repaints itself at once on every message; four times a second is as
    // much as anyone reads, and all a read all can afford beside the exchanges.
    m_progress = progress_text(verb, done, total, item);
    if (m_progress.isEmpty()) {
        m_progress_pace.stop();
        statusBar()->clearMessage();
    } else if (!m_progress_pace.isActive()) {
        statusBar()->showMessage(m_progress);
        m_progress_pace.start();
    }
}

} // namespace quvex::app
