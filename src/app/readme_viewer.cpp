#include "readme_viewer.h"

#include <QDir>
#include <QFileInfo>

namespace quvex::app {

QString open_readme(const StartDetached &start_detached)
{
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("readme.txt"));
    const QString failure = QStringLiteral("Could not open readme.txt: ");
    // A viewer would offer to create the missing file or fail somewhere nobody looks.
    if (!QFileInfo(path).isFile())
        return failure + QStringLiteral("there is no such file in ") + QDir::toNativeSeparators(QDir::currentPath());
#ifdef Q_OS_WIN
    const bool started = start_detached(QStringLiteral("notepad.exe"), {QStringLiteral("readme.txt")});
    const QString viewer = QStringLiteral("notepad.exe");
#else
    const bool started = start_detached(QStringLiteral("xdg-open"), {path});
    const QString viewer = QStringLiteral("xdg-open");
#endif
    if (!started)
        return failure + viewer + QStringLiteral(" could not be started.");
    return {};
}

} // namespace quvex::app
