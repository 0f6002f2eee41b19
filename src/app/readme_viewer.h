#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace quvex::app {

using StartDetached = std::function<bool(const QString &program, const QStringList &arguments)>;

// Opens readme.txt in the system's text viewer, without a shell and without waiting for the
// viewer: the one in the working folder, else the installed copy that lies at
// <program_folder>/../share/quvex-panel/readme.txt under whatever prefix the panel went to.
// Gives the reason when it could not, empty otherwise.
QString open_readme(const QString &program_folder, const StartDetached &start_detached);

} // namespace quvex::app
