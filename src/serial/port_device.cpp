#include "port_device.h"

#include <QDir>
#include <QFileInfo>

namespace quvex::serial {

QString ports_folder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quvex/ports");
}

QString port_device(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QFileInfo link(ports_folder() + QStringLiteral("/com%1").arg(number));
    if (link.isSymLink())
        return link.symLinkTarget();
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

} // namespace quvex::serial
