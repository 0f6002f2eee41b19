#pragma once

#include <QHash>
#include <QString>

namespace quvex::rack {

// The names operators give their units ("Studio A genlock"), by the target of the line each is
// on (backup::unit_target: the by-id link, the network address or the device), so a name stays
// with the unit across restarts and replugging. One file, shared by the panel and quvexctl.
class UnitNames
{
public:
    // The file quvex/unit-names of the user's configuration folder ($XDG_CONFIG_HOME, ~/.config).
    static QString default_path();

    explicit UnitNames(QString path = default_path());

    // Reads the file again; a missing file holds no names.
    void reload();
    // The unit's name; empty when it has none.
    QString name(const QString &target) const { return m_names.value(target); }
    // Gives the unit a name (an empty one takes it away) and writes the file whole; false, with
    // the reason in error, when it could not be written, and the name is then not kept.
    bool set_name(const QString &target, const QString &name, QString *error = nullptr);

private:
    QString m_path;
    QHash<QString, QString> m_names;
};

} // namespace quvex::rack
