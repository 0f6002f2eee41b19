#pragma once

#include "file_dialog.h"
#include "link/operator_side.h"
#include "settings/settings_compare.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace quvex::app {

// The window's ways out to the rest of the system. Production fills them with the real thing;
// tests put recorders in their place so nothing blocks and no time passes for real.
struct WindowHooks
{
    std::function<void(QWidget *parent, const QString &text, const QString &title, link::MessageIcon icon,
                       const QString &detail)>
        show_message;
    std::function<void()> process_events;
    // Starts a program without waiting for it; false when it could not be started.
    std::function<bool(const QString &program, const QStringList &arguments)> start_detached;
    // Where the running program lies; its installed files are found relative to it.
    QString program_folder;
    std::function<void()> quit;
    // The differences of File › Compare: those the operator checked, or nothing for Cancel.
    std::function<std::optional<QList<settings::Difference>>(QWidget *parent,
                                                             const QList<settings::Difference> &differences)>
        choose_differences;
    // The settings file the operator chooses in a file dialog; empty for Cancel.
    std::function<QString(QWidget *parent, const QString &caption, const QString &folder, FileDialogMode mode)>
        choose_file;
    // The program's own settings (the files used last); none kept when empty.
    QString config_file;
};

WindowHooks production_hooks();

} // namespace quvex::app
