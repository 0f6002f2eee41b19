#include "regular_file.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quvex::settings {

#ifdef Q_OS_UNIX

std::optional<QByteArray> read_regular_file(const QString &path, qint64 limit)
{
    // Opened without blocking (a FIFO with no writer would wait for one), and checked on the
    // descriptor itself, so what is read is what was checked.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status
    {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        bytes.emplace();
        char buffer[16384];
        while (bytes && bytes->size() <= limit) {
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count == 0)
                break;
            if (count > 0)
                bytes->append(buffer, count);
            else if (errno != EINTR)
                bytes.reset();
        }
    }
    ::close(fd);
    return bytes;
}

bool may_replace(const QString &path)
{
    struct stat status
    {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

#else

std::optional<QByteArray> read_regular_file(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFile::NoError)
        return std::nullopt;
    return bytes;
}

bool may_replace(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

#endif

} // namespace quvex::settings
