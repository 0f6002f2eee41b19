#pragma once

#include "form_view.h"
#include "link/wire_log.h"
#include "status_line.h"
#include "window_hooks.h"
#include "window_operator.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;

namespace quvex::backup {
class UnitBackup;
}
namespace quvex::link {
class Link;
class StopSignals;
} // namespace quvex::link
namespace quvex::panel {
class Panel;
}
namespace quvex::rack {
class Rack;
}
namespace quvex::session {
class UnitSession;
}
namespace quvex::settings {
class SettingsFile;
}

namespace quvex::app {

class ControlForm;
class EditMenu;
class FileMenu;
class PendingValue;
class PortMenu;
class ReadmeViewer;
class UnitMenus;
class UnitsWindow;
class WireLogWindow;

// QUVEXSP, the panel's one window: owns the controls, the menus and the status line,
// and hands every event of theirs to the core.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(WindowHooks hooks = production_hooks(), QWidget *parent = nullptr);
    ~MainWindow() override;

    link::OperatorSide &operator_side() { return m_operator; }
    WireLogWindow &wire_log_window() const { return *m_wire_log_window; }
    panel::PanelView &view() { return m_view; }
    ControlForm &form() const { return *m_form; }
    EditMenu &edit_menu() const { return *m_edit; }

    // The core is built on the window's operator side and view, so it arrives afterwards.
    void attach(session::UnitSession &session, settings::SettingsFile &settings);
    // File › Back up now and File › Backups..., shown once there is a store to keep backups in.
    void attach_backups(backup::UnitBackup &backups);
    // Port › Units..., shown once there is a rack; the rack is told of the panel's own port after
    // each operation, so that it never opens that port itself.
    void attach_rack(rack::Rack &rack);
    UnitsWindow *units_window() const { return m_units; }
    // Ends the program as a stop signal or the end of the desktop session asks: the operation in
    // progress stops at its next exchange, the unit gets its own video mode back, open boxes
    // close, and the port closes without a word.
    void stop();
    // From now on SIGINT, SIGTERM and SIGHUP stop the window; a second one ends it at once.
    void stop_on(link::StopSignals &stop_signals);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void make_menus();
    void connect_controls();
    void connect_menus();

    void commport_Change(const QString &text);
    void act(const std::function<void()> &action);
    void item_value_returnPressed();
    void item_value_LostFocus();
    void exit_Click();
    void Form_Unload();
    void end_stopped_session();
    void quick_ref_Click();
    void tell_rack();

    WindowHooks m_hooks;
    ControlForm *m_form = nullptr;
    FileMenu *m_file = nullptr;
    EditMenu *m_edit = nullptr;
    UnitMenus *m_unit_menus = nullptr;
    PortMenu *m_port_menu = nullptr;
    QAction *m_quick_ref = nullptr;
    std::unique_ptr<PendingValue> m_pending_value;
    ReadmeViewer *m_readme = nullptr; // a child of the window
    StatusLine m_status;
    FormView m_view;
    WindowOperator m_operator;
    WireLogWindow *m_wire_log_window;
    UnitsWindow *m_units = nullptr; // a child of the window
    rack::Rack *m_rack = nullptr;
    link::WireLog m_wire_log_lines;
    session::UnitSession *m_session = nullptr;
    link::Link *m_link = nullptr;
    panel::Panel *m_panel = nullptr;
    settings::SettingsFile *m_settings = nullptr;
    bool m_in_lost_focus = false;
    bool m_exiting = false;
};

} // namespace quvex::app
