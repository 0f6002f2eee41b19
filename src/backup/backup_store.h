#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quvex::backup {

// A unit as the store knows it: the target of the line it is on (see unit_target) and its
// model's code.
struct UnitKey
{
    QString target;
    QString model;

    friend bool operator==(const UnitKey &, const UnitKey &) = default;
};

// One settings file the store keeps: its file and its time as history shows it
// ("2026-12-07T16:38:12Z", with "_2" after it for the second one of that second).
struct Version
{
    QString path;
    QString time;
};

enum class Saved { NewVersion, Unchanged, Failed };

struct SaveResult
{
    Saved saved = Saved::Failed;
    QString error; // Failed: what could not be done, with the file it concerns
};

// The history of every unit's settings: one folder per unit, holding the settings files that
// differed from the one before, each named by its UTC time so that names sort as times do, each
// written whole or not at all. A check that finds the unit as its newest version only records
// when it was made, in the folder's "checked" file; the folder's "unit" file says whose it is.
class BackupStore
{
public:
    explicit BackupStore(QString root);

    // The folder quvex/backups of the user's data folder ($XDG_DATA_HOME, ~/.local/share).
    static QString default_root();
    const QString &root() const { return m_root; }

    // Every unit that has a folder, in folder order.
    QList<UnitKey> units() const;
    // The models of the units the store holds for this target.
    QStringList models_at(const QString &target) const;
    // The unit's versions, oldest first; none for a unit the store does not know.
    QList<Version> versions(const UnitKey &unit) const;

    // Adds bytes as the unit's newest version unless they are its newest version already, then
    // keeps only the keep newest ones.
    SaveResult save(const UnitKey &unit, const QByteArray &bytes, const QDateTime &now, int keep);

private:
    // The unit's folder; empty when it has none.
    QString folder(const UnitKey &unit) const;
    // The unit's folder, made when it has none; empty after saying why not in error.
    QString make_folder(const UnitKey &unit, QString &error) const;

    QString m_root;
};

// A file's bytes, at most a settings file's size limit; nothing when it cannot be read.
std::optional<QByteArray> read_version(const QString &path);

// For each version, how many items it changed from the one before; -1 for the first.
QList<int> items_changed(const QList<Version> &versions);

} // namespace quvex::backup
