#include "window_hooks.h"

#include "backups_dialog.h"
#include "compare_dialog.h"
#include "find_units_dialog.h"
#include "message_box.h"
#include "network_port_dialog.h"
#include "recent_files.h"
#include "unit_changes_dialog.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace quvex::app {

WindowHooks production_hooks()
{
    WindowHooks hooks;
    hooks.show_message = [](QWidget *parent, const QString &text, const QString &title, link::MessageIcon icon,
                            const QString &detail) { make_message_box(parent, text, title, icon, detail)->exec(); };
    // Blocks until something happens; Timer1's ticks make sure something always does.
    hooks.process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    hooks.environment = QProcessEnvironment::systemEnvironment();
    hooks.program_folder = QCoreApplication::applicationDirPath();
    hooks.quit = [] { QCoreApplication::exit(0); };
    hooks.choose_differences = &choose_differences;
    // No is the default: a question is asked before something is replaced.
    hooks.ask = [](QWidget *parent, const QString &question) {
        return QMessageBox::question(parent, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No)
               == QMessageBox::Yes;
    };
    hooks.system_ports = &ports::system_ports;
    hooks.by_id_folder = ports::kByIdFolder;
    hooks.find_units = &find_units;
    hooks.ask_network_port = &ask_network_port;
    hooks.choose_file = &choose_settings_file;
    hooks.config_file = panel_config_path();
    hooks.choose_backup = &choose_backup;
    hooks.choose_unit_changes = &choose_unit_changes;
    return hooks;
}

} // namespace quvex::app
