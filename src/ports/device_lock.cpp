#include "device_lock.h"

#include "port_list.h"
#include "text/visible_text.h"

#include <QFile>
#include <QSysInfo>

#include <cstring>
#include <limits>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace quvex::ports {

namespace {

// Far longer than any lock file's few lines.
constexpr qint64 kLongestLockFile = 1024;

#ifndef Q_OS_WIN
QString owner_words(qint64 pid, const QString &program)
{
    return program.isEmpty() ? QStringLiteral("process %1").arg(pid)
                             : QStringLiteral("%1 (process %2)").arg(text::visible(program)).arg(pid);
}

// file_held: whether the lock file itself is locked, by its owner as QLockFile does.
bool is_running(const LockOwner &owner, bool file_held)
{
    // A process of another machine, whose lock folder is shared, cannot be looked for from here.
    if (!owner.host.isEmpty() && owner.host != QSysInfo::machineHostName())
        return true;
    if (owner.guarded && !file_held)
        return false;
    return owner.pid <= std::numeric_limits<pid_t>::max()
           && (::kill(static_cast<pid_t>(owner.pid), 0) == 0 || errno == EPERM);
}

bool file_held(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// The process that holds an advisory lock on the device, as the kernel lists it, and its
// program: programs that take no lock file (picocom) lock the device itself.
QString advisory_holder(const QString &canonical)
{
#ifdef Q_OS_LINUX
    struct stat status
    {};
    QFile locks(QStringLiteral("/proc/locks"));
    if (::stat(QFile::encodeName(canonical).constData(), &status) != 0 || !locks.open(QIODevice::ReadOnly))
        return {};
    // The kernel names the file by its file system's device, in hexadecimal, and its inode.
    const QByteArray file = QString::asprintf("%02x:%02x:%llu", ::major(status.st_dev), ::minor(status.st_dev),
                                              static_cast<unsigned long long>(status.st_ino))
                                .toLatin1();
    for (const QByteArray &line : locks.readAll().split('\n')) {
        // "1: FLOCK  ADVISORY  WRITE 1234 00:19:4 0 EOF"; a waiting lock has "->" after the number.
        const QList<QByteArray> fields = line.simplified().split(' ');
        const qint64 pid = fields.value(4).toLongLong();
        if (fields.size() < 6 || fields.at(1) == "->" || fields.at(5) != file || pid <= 0)
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        return owner_words(pid, comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll().trimmed())
                                                               : QString());
    }
#else
    Q_UNUSED(canonical)
#endif
    return {};
}
#endif

} // namespace

std::optional<LockOwner> read_lock_file(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kLongestLockFile);
    // A process number in binary always has a zero byte: none reaches 2^24.
    if (bytes.size() == sizeof(qint32) && bytes.contains('\0')) {
        qint32 pid = 0;
        std::memcpy(&pid, bytes.constData(), sizeof pid);
        return pid > 0 ? std::optional(LockOwner{pid, {}, {}, false}) : std::nullopt;
    }
    const QList<QByteArray> lines = bytes.split('\n');
    const QList<QByteArray> first = lines.constFirst().simplified().split(' ');
    bool number = false;
    const qint64 pid = first.constFirst().toLongLong(&number);
    if (!number || pid <= 0)
        return std::nullopt;
    if (first.size() > 1)
        return LockOwner{pid, QString::fromLocal8Bit(first.at(1)), {}, false};
    // UUCP's is one line; Qt's has the program and the host on lines of their own.
    if (lines.size() <= 2)
        return LockOwner{pid, {}, {}, false};
    return LockOwner{pid, QString::fromUtf8(lines.at(1).trimmed()), QString::fromUtf8(lines.at(2).trimmed()), true};
}

#ifdef Q_OS_WIN

QString device_holder(const QString &, const QStringList &)
{
    return {};
}

void clear_stale_lock(const QString &, const QStringList &)
{
}

bool lock_open_device(QSerialPort &)
{
    return true;
}

#else

QString device_holder(const QString &device, const QStringList &folders)
{
    const QString canonical = canonical_device(device);
    // Every folder: a program that could not write the first one has its lock in a later one.
    for (const QString &folder : folders) {
        const QString path = serial_lock_path(canonical, {folder});
        if (path.isEmpty())
            continue;
        const std::optional<LockOwner> owner = read_lock_file(path);
        if (owner && is_running(*owner, owner->guarded && file_held(path)))
            return owner_words(owner->pid, owner->program);
    }
    return advisory_holder(canonical);
}

void clear_stale_lock(const QString &device, const QStringList &folders)
{
    const QString path = serial_lock_path(canonical_device(device), folders);
    const QByteArray name = QFile::encodeName(path);
    const int fd = path.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Holding the file's lock, as QLockFile does to remove one, no live QLockFile owns it and no
    // other program removes it meanwhile; it must still be the file the path names. A file in a
    // format of its own is left to QSerialPort.
    struct stat opened
    {};
    struct stat named
    {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && ::stat(name.constData(), &named) == 0
        && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
        const std::optional<LockOwner> owner = read_lock_file(path);
        // One that cannot be removed keeps QSerialPort from the device, and its failure is told.
        if (owner && !is_running(*owner, false))
            ::unlink(name.constData());
    }
    ::close(fd);
}

bool lock_open_device(QSerialPort &port)
{
    return ::flock(port.handle(), LOCK_EX | LOCK_NB) == 0;
}

#endif

} // namespace quvex::ports
