#include "readme_viewer.h"

#include <QDir>
#include <QFileInfo>

namespace quvex::app {

QString open_readme(const QString &program_folder, const StartDetached &start_detached)
{
    QString path = QDir::current().absoluteFilePath(QStringLiteral("readme.txt"));
    if (!QFileInfo(path).isFile())
        path = QDir::cleanPath(program_folder + QStringLiteral("/../share/quvex-panel/readme.txt"));
    // A viewer would offer to create the missing file or fail somewhere nobody looks.
    if (!QFileInfo(path).isFile())
        return QStringLiteral("readme.txt was not found.");
#ifdef Q_OS_WIN
    const QString viewer = QStringLiteral("notepad.exe");
    const bool started = start_detached(viewer, {QDir::toNativeSeparators(path)});
#else
    const QString viewer = QStringLiteral("xdg-open");
    const bool started = start_detached(viewer, {path});
#endif
    if (!started)
        return QStringLiteral("Could not open readme.txt: ") + viewer + QStringLiteral(" could not be started.");
    return {};
}

} // namespace quvex::app
