#pragma once

#include "link/operator_side.h"
#include "settings/settings_compare.h"

#include <QProcessEnvironment>
#include <QString>

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
    // What the programs the panel starts are given, Help's text viewer; it is found on its PATH.
    QProcessEnvironment environment;
    // Where the running program lies; its installed files are found relative to it.
    QString program_folder;
    std::function<void()> quit;
    // The differences of File › Compare: those the operator checked, or nothing for Cancel.
    std::function<std::optional<QList<settings::Difference>>(QWidget *parent,
                                                             const QList<settings::Difference> &differences)>
        choose_differences;
};

WindowHooks production_hooks();

} // namespace quvex::app
