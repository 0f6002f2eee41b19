#pragma once

#include "ports/port_list.h"
#include "settings/settings_content.h"

#include <QString>

namespace quvex::cli {

// `quvexctl write --all FILE`: the file into every unit of its model on every numbered port and
// every port the system reports, all at once, each in a session of its own; one line a port
// (port, the unit's name, outcome). Only units of the file's model count, each with write's
// exit code, and the worst wins. Units of another model are asked their model and nothing more.
int write_all(const QString &path, const settings::SettingsContent &content, const ports::SystemPorts &system_ports);

} // namespace quvex::cli
