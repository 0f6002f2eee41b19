#include "open_failure.h"

#include "device_lock.h"
#include "port_list.h"
#include "text/visible_text.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quvex::ports {

namespace {

#ifndef Q_OS_WIN
QString system_error(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString user_name()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(::geteuid());
}

// Read from the device: the group that may open it differs between systems (dialout, uucp,
// tty...) and a rule may have given the adapter one of its own.
QString group_name(gid_t group)
{
    const ::group *entry = ::getgrgid(group);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(group);
}

QString permission_reason(const QString &device, const struct stat &status)
{
    if ((status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return QStringLiteral("You may not open %1: only its owner may.").arg(device);
    const QString group = group_name(status.st_gid);
    return QStringLiteral("You may not open %1: it belongs to the group %2, which you are not in. Add yourself to "
                          "it (sudo usermod -aG %2 %3), then log out and in again.")
        .arg(device, group, user_name());
}

// Opens the device as QSerialPort does, only to learn how the system refuses it.
int open_error(const QString &device, bool &is_terminal)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno;
    is_terminal = ::isatty(fd) == 1;
    ::close(fd);
    return 0;
}
#endif

} // namespace

QStringList serial_lock_folders()
{
    return {QStringLiteral("/var/lock"),
            QStringLiteral("/etc/locks"),
            QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"),
            QStringLiteral("/run/lock"),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
}

QString serial_lock_path(const QString &device, const QStringList &folders)
{
    // As QSerialPort names it: the device without "/dev/", every '/' made '_'.
    QString name = device.startsWith(QStringLiteral("/dev/")) ? device.mid(5) : device;
    name.replace(u'/', u'_');
    for (const QString &folder : folders) {
        const QString path = folder + QStringLiteral("/LCK..") + name;
        const QFileInfo info(folder);
        if (info.isReadable() && (QFileInfo::exists(path) || info.isWritable()))
            return path;
    }
    return {};
}

QString open_failure_reason(const QString &path_text, const QString &system_text, const QStringList &lock_folders)
{
    // The reason names the device as a person may read it; the checks use the path itself.
    const QString device = text::visible(path_text);
#ifdef Q_OS_WIN
    Q_UNUSED(lock_folders)
    return device + QStringLiteral(": ") + system_text;
#else
    const QByteArray path = QFile::encodeName(path_text);
    struct stat status
    {};
    if (::stat(path.constData(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("%1 does not exist: the adapter is not plugged in, or the port number names "
                                  "another port.")
                .arg(device);
        return QStringLiteral("%1 cannot be reached: %2.").arg(device, system_error(errno));
    }
    if (!S_ISCHR(status.st_mode))
        return QStringLiteral("%1 is not a serial device.").arg(device);
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return permission_reason(device, status);
    const QString holder = device_holder(path_text, lock_folders);
    if (!holder.isEmpty())
        return QStringLiteral("%1 is in use by %2. Close that program, or choose another port.").arg(device, holder);
    if (serial_lock_path(canonical_device(path_text), lock_folders).isEmpty())
        return QStringLiteral("%1 cannot be locked: no folder for serial lock files (%2) may be written.")
            .arg(device, text::visible(lock_folders.join(QStringLiteral(", "))));
    bool is_terminal = true;
    const int error = open_error(path_text, is_terminal);
    if (error == EBUSY)
        return QStringLiteral("%1 is busy: another program holds it for itself, and which one cannot be known. "
                              "Close it, or choose another port.")
            .arg(device);
    if (error == 0 && !is_terminal)
        return QStringLiteral("%1 is not a serial device.").arg(device);
    // A program that takes no lock (cat, a shell's redirection) leaves no trace to name, and
    // a process running as root ignores exclusive holds: neither can be told from here.
    return QStringLiteral("%1 could not be opened: %2. A program that takes no lock file, such as cat, cannot be "
                          "seen from here.")
        .arg(device, error != 0 ? system_error(error) : system_text);
#endif
}

} // namespace quvex::ports
