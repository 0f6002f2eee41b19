#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quvex::test {

// A settings file's bytes as a save writes them, spelled out rather than made by the program.
inline QByteArray settings_header(const QByteArray &model, const QByteArray &version = "1")
{
    return "\"QUVEX Control Panel\"\r\n" + version + "\r\n\"" + model + "\"\r\n";
}

inline QByteArray settings_pair(const QByteArray &name, const QByteArray &value)
{
    return '"' + name.leftJustified(18, ' ') + "\"," + value + "\r\n";
}

inline void write_file(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray file_bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace quvex::test
