#include "unit_names.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace quvex::rack {

QString UnitNames::default_path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/quvex/unit-names");
}

UnitNames::UnitNames(QString path)
    : m_path(std::move(path))
{
    reload();
}

void UnitNames::reload()
{
    m_names.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2)
            m_names.insert(QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]));
    }
}

bool UnitNames::set_name(const QString &target, const QString &name, QString *error)
{
    QHash<QString, QString> names = m_names;
    name.isEmpty() ? void(names.remove(target)) : void(names.insert(target, name));
    QByteArray bytes;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        bytes += it.key().toUtf8() + '\t' + it.value().toUtf8() + '\n';
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    m_names = names;
    return true;
}

} // namespace quvex::rack
