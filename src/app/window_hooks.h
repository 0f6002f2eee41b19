#pragma once

#include "backup/unit_backup.h"
#include "file_dialog.h"
#include "link/operator_side.h"
#include "probe/port_probe.h"
#include "rack/unit_row.h"
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
    // Yes or No to a question that must be answered before the panel goes on.
    std::function<bool(QWidget *parent, const QString &question)> ask;
    // What the system reports of its serial ports, and where it names them by their adapters.
    ports::SystemPorts system_ports;
    QString by_id_folder;
    // Find units: probes the ports and gives the found unit the operator chose, or nothing.
    // open_device is the panel's own open port, reported with open_model and not opened again.
    std::function<std::optional<probe::ProbeResult>(QWidget *parent, const QList<ports::PortEntry> &ports,
                                                    const QString &open_device, int open_model)>
        find_units;
    // Port › Network port...: tcp://HOST:PORT for port number N (target: what N means now), or
    // nothing for Cancel.
    std::function<std::optional<QString>(QWidget *parent, int number, const QString &target)> ask_network_port;
    // The settings file the operator chooses in a file dialog; empty for Cancel.
    std::function<QString(QWidget *parent, const QString &caption, const QString &folder, FileDialogMode mode)>
        choose_file;
    // The program's own settings (the files used last); none kept when empty.
    QString config_file;
    // File › Backups...: the file of the version to compare with the unit, or nothing.
    std::function<std::optional<QString>(QWidget *parent, const QList<backup::ListedVersion> &versions)> choose_backup;
    // Units › Changes since backup: of each unit's differing items (units: how each unit is
    // named), those the operator checked, or nothing for Cancel. locked: why nothing may be sent
    // now; empty when it may.
    std::function<std::optional<QList<rack::UnitChanges>>(QWidget *parent, const QList<rack::UnitChanges> &changes,
                                                          const QStringList &units, const QString &locked)>
        choose_unit_changes;
};

WindowHooks production_hooks();

} // namespace quvex::app
