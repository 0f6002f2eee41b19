#include "port_device.h"

#include "text/visible_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace quvex::ports {

namespace {

#ifndef Q_OS_WIN
// The link's own text: a target that is no path (a network address) must reach the caller
// as written, where QFileInfo would make it a path relative to the link's folder.
QString link_text(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlink(name.constData(), target.data(), static_cast<std::size_t>(target.size()));
    if (length < 0 || length >= target.size())
        return {};
    target.truncate(length);
    return QFile::decodeName(target);
}
#endif

} // namespace

bool is_network_target(const QString &target)
{
    return target.startsWith(QStringLiteral("tcp://"), Qt::CaseInsensitive);
}

QString ports_folder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quvex/ports");
}

QString port_link_path(int number)
{
    return ports_folder() + QStringLiteral("/com%1").arg(number);
}

QString port_device(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString target = link_text(port_link_path(number));
    if (target.isEmpty())
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    // A relative target is relative to the link's folder, as the system reads it.
    if (!is_network_target(target) && QDir::isRelativePath(target))
        return QDir::cleanPath(ports_folder() + u'/' + target);
    return target;
#endif
}

QString link_port(int number, const QString &target)
{
#ifdef Q_OS_WIN
    Q_UNUSED(number)
    Q_UNUSED(target)
    return QStringLiteral("port numbers are fixed on Windows");
#else
    const QString path = port_link_path(number);
    if (!QDir().mkpath(ports_folder()))
        return QStringLiteral("cannot create ") + text::visible(ports_folder());
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink())
            return text::visible(path) + QStringLiteral(" is not a link");
        if (!QFile::remove(path))
            return QStringLiteral("cannot replace ") + text::visible(path);
    }
    // The target is written as given: a network address must stay one.
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) != 0)
        return QStringLiteral("cannot create %1: %2")
            .arg(text::visible(path), QString::fromLocal8Bit(std::strerror(errno)));
    return {};
#endif
}

} // namespace quvex::ports
