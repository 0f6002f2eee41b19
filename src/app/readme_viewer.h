#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace quvex::app {

using StartDetached = std::function<bool(const QString &program, const QStringList &arguments)>;

// Opens readme.txt of the working folder in the system's text viewer, without a shell and
// without waiting for the viewer. Gives the reason when it could not, empty otherwise.
QString open_readme(const StartDetached &start_detached);

} // namespace quvex::app
