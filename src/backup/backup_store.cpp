#include "backup_store.h"

#include "settings/regular_file.h"
#include "settings/settings_compare.h"
#include "settings/settings_content.h"
#include "settings/settings_file.h"
#include "unit_name.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace quvex::backup {

namespace {

const QString kUnitFile = QStringLiteral("unit");
const QString kCheckedFile = QStringLiteral("checked");

// "20261207T163812Z.cfg", and "20261207T163812Z_2.cfg" for a second one in the same second.
const QRegularExpression kVersionName(QStringLiteral("^(\\d{8}T\\d{6}Z)(?:_([1-9]\\d*))?\\.cfg$"));

struct Named
{
    QString stamp;
    int sequence = 1;
    QString file;
};

QList<Named> version_files(const QString &folder)
{
    QList<Named> named;
    const QStringList files = QDir(folder).entryList(QDir::Files);
    for (const QString &file : files) {
        const QRegularExpressionMatch match = kVersionName.match(file);
        if (match.hasMatch())
            named.append({match.captured(1), match.hasCaptured(2) ? match.captured(2).toInt() : 1, file});
    }
    // By number, not by text: _10 comes after _9.
    std::sort(named.begin(), named.end(), [](const Named &a, const Named &b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.sequence < b.sequence;
    });
    return named;
}

QString version_time(const Named &named)
{
    const QDateTime time = QDateTime::fromString(named.stamp, QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString text = time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
    return named.sequence == 1 ? text : text + u'_' + QString::number(named.sequence);
}

std::optional<UnitKey> read_unit_file(const QString &folder)
{
    const std::optional<QByteArray> bytes = settings::read_regular_file(folder + u'/' + kUnitFile, 4096);
    if (!bytes)
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(*bytes).split(u'\n');
    if (lines.size() < 2 || lines.at(0).isEmpty() || lines.at(1).isEmpty())
        return std::nullopt;
    return UnitKey{lines.at(0), lines.at(1)};
}

} // namespace

std::optional<QByteArray> read_version(const QString &path)
{
    std::optional<QByteArray> bytes = settings::read_regular_file(path, settings::kSettingsSizeLimit);
    if (bytes && bytes->size() > settings::kSettingsSizeLimit)
        return std::nullopt;
    return bytes;
}

QList<int> items_changed(const QList<Version> &versions)
{
    QList<int> changed;
    std::optional<QList<settings::SettingsPair>> before;
    for (const Version &version : versions) {
        const QList<settings::SettingsPair> pairs =
            settings::parse_settings(read_version(version.path).value_or(QByteArray())).pairs;
        changed.append(before ? int(settings::compare_settings(*before, pairs).size()) : -1);
        before = pairs;
    }
    return changed;
}

BackupStore::BackupStore(QString root)
    : m_root(std::move(root))
{
}

QString BackupStore::default_root()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quvex/backups");
}

QList<UnitKey> BackupStore::units() const
{
    QList<UnitKey> keys;
    const QStringList folders = QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : folders) {
        if (const std::optional<UnitKey> key = read_unit_file(m_root + u'/' + name))
            keys.append(*key);
    }
    return keys;
}

QStringList BackupStore::models_at(const QString &target) const
{
    QStringList models;
    for (const UnitKey &key : units()) {
        if (key.target == target)
            models.append(key.model);
    }
    return models;
}

QString BackupStore::folder(const UnitKey &unit) const
{
    // Two targets can make the same safe name; the folder's unit file tells whose it is.
    const QString base = m_root + u'/' + unit_folder_name(unit.target, unit.model);
    for (int n = 1;; ++n) {
        const QString path = n == 1 ? base : base + u'~' + QString::number(n);
        if (!QFileInfo(path).isDir())
            return {};
        if (read_unit_file(path) == unit)
            return path;
    }
}

QString BackupStore::make_folder(const UnitKey &unit, QString &error) const
{
    const QString existing = folder(unit);
    if (!existing.isEmpty())
        return existing;
    const QString base = m_root + u'/' + unit_folder_name(unit.target, unit.model);
    QString path = base;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + u'~' + QString::number(n);
    if (!QDir().mkpath(path)) {
        error = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(path));
        return {};
    }
    error = settings::write_whole(path + u'/' + kUnitFile, (unit.target + u'\n' + unit.model + u'\n').toUtf8());
    return error.isEmpty() ? path : QString();
}

QList<Version> BackupStore::versions(const UnitKey &unit) const
{
    const QString path = folder(unit);
    QList<Version> listed;
    if (path.isEmpty())
        return listed;
    for (const Named &named : version_files(path))
        listed.append({path + u'/' + named.file, version_time(named)});
    return listed;
}

SaveResult BackupStore::save(const UnitKey &unit, const QByteArray &bytes, const QDateTime &now, int keep)
{
    SaveResult result;
    const QString path = make_folder(unit, result.error);
    if (path.isEmpty())
        return result;
    const QList<Named> named = version_files(path);
    const QString checked = (now.toUTC().toString(Qt::ISODate) + u'\n');
    if (!named.isEmpty() && read_version(path + u'/' + named.constLast().file) == bytes) {
        result.error = settings::write_whole(path + u'/' + kCheckedFile, checked.toUtf8());
        result.saved = result.error.isEmpty() ? Saved::Unchanged : Saved::Failed;
        return result;
    }
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    int sequence = 1;
    for (const Named &other : named) {
        if (other.stamp == stamp)
            sequence = std::max(sequence, other.sequence + 1);
    }
    const QString file =
        stamp + (sequence == 1 ? QString() : u'_' + QString::number(sequence)) + QStringLiteral(".cfg");
    result.error = settings::write_whole(path + u'/' + file, bytes);
    if (!result.error.isEmpty())
        return result;
    // The new version is whole before any old one goes.
    for (qsizetype i = 0; i + keep < named.size() + 1; ++i) {
        if (!QFile::remove(path + u'/' + named.at(i).file)) {
            result.error =
                QStringLiteral("cannot remove %1").arg(QDir::toNativeSeparators(path + u'/' + named.at(i).file));
            return result;
        }
    }
    result.error = settings::write_whole(path + u'/' + kCheckedFile, checked.toUtf8());
    result.saved = result.error.isEmpty() ? Saved::NewVersion : Saved::Failed;
    return result;
}

} // namespace quvex::backup
