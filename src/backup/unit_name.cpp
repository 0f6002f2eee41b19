#include "unit_name.h"

#include "ports/port_device.h"

#include <QRegularExpression>

namespace quvex::backup {

QString unit_target(const QString &device, const QString &by_id_folder)
{
    if (ports::is_network_target(device))
        return device;
    const QString stable = ports::stable_name(device, by_id_folder);
    return stable.isEmpty() ? device : stable;
}

QString safe_file_name(const QString &text)
{
    QString name = text;
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    // Windows drops a trailing dot or space, so two names would meet in one.
    for (qsizetype i = name.size() - 1; i >= 0 && (name.at(i) == u'.' || name.at(i) == u' '); --i)
        name[i] = u'_';
    // A device's name stays reserved with any extension after it ("NUL.cfg").
    static const QRegularExpression kReserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9]) *(\\.|$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (name.isEmpty() || kReserved.match(name).hasMatch())
        name.prepend(u'_');
    return name;
}

QString unit_folder_name(const QString &target, const QString &model_code, const QString &by_id_folder)
{
    QString base = target;
    if (base.startsWith(by_id_folder + u'/'))
        base = base.mid(by_id_folder.size() + 1);
    else if (ports::is_network_target(base))
        base = base.mid(base.indexOf(QStringLiteral("://")) + 3);
    else
        while (base.startsWith(u'/'))
            base.remove(0, 1);
    return safe_file_name(base + u'@' + model_code);
}

} // namespace quvex::backup
