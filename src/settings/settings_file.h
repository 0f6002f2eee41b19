#pragma once

#include "panel/panel.h"

#include <QString>

namespace quvex::settings {

// "c:\quvex.cfg" on Windows, quvex.cfg in the home folder elsewhere.
QString settings_path();

// Saves every value of the connected unit to the one settings file, as the unit reports it
// now, and loads such a file into a unit through the ordinary set-value path. A save that
// does not finish leaves the previous file exactly as it was.
class SettingsFile
{
public:
    // Real files are a few KiB with fewer than 60 pairs; anything near these is not one of
    // ours, and loading it would keep the window locked for many minutes.
    static constexpr qint64 kSizeLimit = 1 << 20;
    static constexpr int kPairLimit = 1000;

    SettingsFile(panel::Panel &panel, QString path);

    const QString &path() const { return m_path; }
    QString open_caption() const;
    QString save_caption() const;

    void filesave_Click();
    void fileopen_Click();

private:
    QString display_path() const;
    void show(const QString &text);

    panel::Panel &m_panel;
    QString m_path;
};

} // namespace quvex::settings
