#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <QProcess>

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

// While it lives, the file at path can be neither replaced nor removed, by root neither (it is
// made immutable): the final rename of a save over it fails. held() is false where the file
// system cannot do that.
class HeldFile
{
public:
    explicit HeldFile(QString path)
        : m_path(std::move(path))
        , m_held(QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0)
    {
    }
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;
    ~HeldFile()
    {
        if (m_held)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
    }
    bool held() const { return m_held; }

private:
    QString m_path;
    bool m_held;
};

} // namespace quvex::test
