#pragma once

#include <QString>
#include <QStringList>

namespace quvex::app {

// The settings files the operator chose last in the File menu, newest first and at most five,
// kept in the program's own settings so that they outlive the run. Without a path for those
// settings the list lasts as long as the object.
class RecentFiles
{
public:
    static constexpr qsizetype kLimit = 5;

    explicit RecentFiles(QString config_path);

    // Newest first, those that no longer exist left out.
    QStringList existing() const;
    // The folder of the file used last, or fallback before there is one.
    QString last_folder(const QString &fallback) const;
    // Puts path first, before the file it names need exist (a save creates it afterwards).
    void add(const QString &path);

private:
    QStringList stored() const;

    QString m_config_path;
    QStringList m_paths;
};

// quvex-panel.conf in the quvex folder of the user's configuration folder ($XDG_CONFIG_HOME,
// else ~/.config, on Linux).
QString panel_config_path();

} // namespace quvex::app
