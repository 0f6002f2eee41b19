#include "window_hooks.h"

#include "compare_dialog.h"
#include "message_box.h"
#include "recent_files.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>

namespace quvex::app {

WindowHooks production_hooks()
{
    WindowHooks hooks;
    hooks.show_message = [](QWidget *parent, const QString &text, const QString &title, link::MessageIcon icon,
                            const QString &detail) { make_message_box(parent, text, title, icon, detail)->exec(); };
    // Blocks until something happens; Timer1's ticks make sure something always does.
    hooks.process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    hooks.start_detached = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
    hooks.program_folder = QCoreApplication::applicationDirPath();
    hooks.quit = [] { QCoreApplication::exit(0); };
    hooks.choose_differences = &choose_differences;
    hooks.choose_file = &choose_settings_file;
    hooks.config_file = panel_config_path();
    return hooks;
}

} // namespace quvex::app
