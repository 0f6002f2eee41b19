#include "recent_files.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace quvex::app {

namespace {

const QString kKey = QStringLiteral("recent_files");

} // namespace

RecentFiles::RecentFiles(QString config_path)
    : m_config_path(std::move(config_path))
{
}

QStringList RecentFiles::stored() const
{
    // Read afresh each time: a second panel may have used files since.
    if (m_config_path.isEmpty())
        return m_paths;
    return QSettings(m_config_path, QSettings::IniFormat).value(kKey).toStringList();
}

QStringList RecentFiles::existing() const
{
    QStringList paths = stored();
    paths.removeIf([](const QString &path) { return !QFileInfo(path).isFile(); });
    return paths;
}

QString RecentFiles::last_folder(const QString &fallback) const
{
    const QStringList paths = stored();
    return paths.isEmpty() ? fallback : QFileInfo(paths.constFirst()).absolutePath();
}

void RecentFiles::add(const QString &path)
{
    QStringList paths = stored();
    paths.removeIf([&path](const QString &listed) { return listed == path || !QFileInfo(listed).isFile(); });
    paths.prepend(path);
    m_paths = paths.mid(0, kLimit);
    // A list that cannot be kept costs the operator only the list; the file operation goes on.
    if (!m_config_path.isEmpty())
        QSettings(m_config_path, QSettings::IniFormat).setValue(kKey, m_paths);
}

QString panel_config_path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/quvex/quvex-panel.conf");
}

} // namespace quvex::app
