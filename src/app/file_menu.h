#pragma once

#include "file_dialog.h"
#include "recent_files.h"
#include "window_hooks.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace quvex::backup {
class UnitBackup;
}
namespace quvex::panel {
class Panel;
}
namespace quvex::settings {
class SettingsFile;
}

namespace quvex::app {

// The File menu: the settings file's own items, a file chosen in a dialog, the files used last
// (kept across runs), the unit's backups and Exit. Owns its actions and the files used last;
// the core reads, writes and compares. An open is refused by the lock before anything is asked.
class FileMenu final : public QObject
{
    Q_OBJECT

public:
    // Runs an action as the window runs every operator action.
    using Act = std::function<void(const std::function<void()> &action)>;

    // Adds the menu at the end of the bar; window is the parent of its dialogs.
    FileMenu(QMenuBar &bar, QWidget &window, const WindowHooks &hooks);

    void attach(panel::Panel &panel, settings::SettingsFile &settings, Act act);
    // Back up now and Backups..., shown once there is a store to keep backups in.
    void attach_backups(backup::UnitBackup &backups);

Q_SIGNALS:
    void exit_chosen();

private:
    void list_recent_files();
    // Asks the operator for a file in the folder used last; the path chosen joins the files
    // used last. Empty for Cancel.
    QString choose_file(const QString &caption, FileDialogMode mode);
    void on(QAction *action, std::function<void()> handler);

    QWidget &m_window;
    const WindowHooks &m_hooks;
    RecentFiles m_recent;
    QMenu *m_menu;
    QAction *m_fileopen;
    QAction *m_filecompare;
    QAction *m_filesave;
    QAction *m_open_file;
    QAction *m_save_file;
    QAction *m_compare_file;
    QAction *m_back_up_now;
    QAction *m_backups;
    std::array<QAction *, RecentFiles::kLimit> m_recent_files{};
    QAction *m_exit;
    settings::SettingsFile *m_settings = nullptr;
    Act m_act;
};

} // namespace quvex::app
