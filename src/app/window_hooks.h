#pragma once

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
    // Port › Network port...: tcp://HOST:PORT for port number N (target: what N means now), or
    // nothing for Cancel.
    std::function<std::optional<QString>(QWidget *parent, int number, const QString &target)> ask_network_port;
    // A question with Yes and No: true for Yes.
    std::function<bool(QWidget *parent, const QString &question)> ask_yes_no;
};

WindowHooks production_hooks();

} // namespace quvex::app
