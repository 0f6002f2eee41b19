#pragma once

#include "ports/port_list.h"

#include <QString>

namespace quvex::backup {

// What names the line a unit is on for as long as it stays on it: the device's by-id link when
// it has one (it keeps its adapter across replugging), else a network address as written, else
// the device path itself.
QString unit_target(const QString &device, const QString &by_id_folder = ports::kByIdFolder);

// text made a name that Linux and Windows both take for a file or a folder: no separators,
// wildcards, quotes, pipes or control characters, no trailing dot or space, no reserved device
// name such as CON or COM1, never empty.
QString safe_file_name(const QString &text);

// The folder name of the unit of this model on this target: the by-id name, the address or the
// path made safe, "@" and the model's code.
QString unit_folder_name(const QString &target, const QString &model_code,
                         const QString &by_id_folder = ports::kByIdFolder);

} // namespace quvex::backup
