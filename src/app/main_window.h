#pragma once

#include "form_view.h"
#include "window_hooks.h"
#include "window_operator.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

class QAction;
class QMenu;

namespace quvex::link {
class Link;
class StopSignals;
}
namespace quvex::panel {
class Panel;
}
namespace quvex::settings {
class SettingsFile;
}

namespace quvex::app {

class ControlForm;
class FocusOutWatch;

// QUVEXSP, the panel's one window: owns the controls, the menus, the status line and Timer1,
// and hands every event of theirs to the core.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(WindowHooks hooks = production_hooks(), QWidget *parent = nullptr);
    ~MainWindow() override;

    link::OperatorSide &operator_side() { return m_operator; }
    panel::PanelView &view() { return m_view; }
    ControlForm &form() const { return *m_form; }

    // The core is built on the window's operator side and view, so it arrives afterwards.
    void attach(link::Link &link, panel::Panel &panel, settings::SettingsFile &settings);
    // Ends the program as a stop signal or the end of the desktop session asks: the operation in
    // progress stops at its next exchange, the unit gets its own video mode back, open boxes
    // close, and the port closes without a word.
    void stop();
    // From now on SIGINT, SIGTERM and SIGHUP stop the window; a second one ends it at once.
    void stop_on(link::StopSignals &stop_signals);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void make_menus();
    QMenu *make_menu(const char *name, const QString &title);
    QAction *make_action(QMenu *menu, const char *name, const QString &caption);
    void connect_controls();
    void connect_menus();

    void Timer1_Timer();
    void commport_Change(const QString &text);
    void act(const std::function<void()> &action);
    void item_value_left(Qt::FocusReason reason);
    void commit_pending_value();
    void item_value_returnPressed();
    void item_value_LostFocus();
    void exit_Click();
    void Form_Unload();
    void end_stopped_session();
    void tell_unit_mode();
    void quick_ref_Click();
    void show_progress(const QString &verb, int done, int total, const QString &item);

    static constexpr int kProgressIntervalMs = 250;

    WindowHooks m_hooks;
    ControlForm *m_form = nullptr;
    QAction *m_fileopen = nullptr;
    QAction *m_filecompare = nullptr;
    QAction *m_filesave = nullptr;
    QAction *m_exit = nullptr;
    QAction *m_store_settings = nullptr;
    QAction *m_vga_store = nullptr;
    QAction *m_read_unit = nullptr;
    QAction *m_write_unit = nullptr;
    QAction *m_reset_unit = nullptr;
    QMenu *m_port = nullptr;
    QAction *m_quick_ref = nullptr;
    FocusOutWatch *m_value_focus = nullptr;
    FormView m_view;
    WindowOperator m_operator;
    QTimer m_timer1;
    QTimer m_progress_pace;
    QString m_progress;
    link::Link *m_link = nullptr;
    panel::Panel *m_panel = nullptr;
    settings::SettingsFile *m_settings = nullptr;
    bool m_in_lost_focus = false;
    bool m_commit_pending = false;
    bool m_exiting = false;
    bool m_stopping = false;
    bool m_session_ended = false;
};

} // namespace quvex::app
