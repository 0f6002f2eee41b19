#include "port_list.h"

#include "port_device.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <map>
#include <set>

namespace quvex::ports {

namespace {

constexpr int kLargestNumber = 32767; // port numbers are 16-bit, as the port box takes them

QString describe(const SystemPort &port)
{
    QStringList words;
    // Many adapters repeat their maker in the description ("FTDI" and "FTDI FT232R...").
    if (!port.manufacturer.isEmpty() && !port.description.startsWith(port.manufacturer))
        words.append(port.manufacturer);
    words << port.description << port.serial_number;
    words.removeAll(QString());
    return words.join(u' ');
}

// The comN links of the ports folder by number, each with its device as port N means it.
std::map<int, QString> port_links()
{
    static const QRegularExpression kLinkName(QStringLiteral("^com([1-9][0-9]{0,4})$"));
    std::map<int, QString> links;
    const QFileInfoList files = QDir(ports_folder()).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &file : files) {
        const QRegularExpressionMatch match = kLinkName.match(file.fileName());
        const int number = match.captured(1).toInt();
        if (match.hasMatch() && file.isSymLink() && number <= kLargestNumber)
            links.emplace(number, port_device(number));
    }
    return links;
}

// The number a device has without a link: N for /dev/ttyS<N-1> (COMN on Windows); 0 for others.
int fixed_number(const QString &device)
{
#ifdef Q_OS_WIN
    static const QRegularExpression kSerialDevice(QStringLiteral("^COM([0-9]{1,5})$"));
    constexpr int kFirst = 0;
#else
    static const QRegularExpression kSerialDevice(QStringLiteral("^/dev/ttyS([0-9]{1,5})$"));
    constexpr int kFirst = 1;
#endif
    const QRegularExpressionMatch match = kSerialDevice.match(device);
    const int number = match.hasMatch() ? match.captured(1).toInt() + kFirst : 0;
    return number <= kLargestNumber ? number : 0;
}

} // namespace

QList<SystemPort> system_ports()
{
    QList<SystemPort> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        ports.append({info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber()});
    return ports;
}

QString canonical_device(const QString &path)
{
    if (is_network_target(path))
        return path;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A device that is gone (an adapter unplugged) is still named by the link to it.
    return QDir::cleanPath(info.isSymLink() ? info.symLinkTarget() : path);
}

QString stable_name(const QString &device, const QString &by_id_folder)
{
    const QString wanted = canonical_device(device);
    const QFileInfoList names =
        QDir(by_id_folder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &name : names) {
        if (name.isSymLink() && canonical_device(name.absoluteFilePath()) == wanted)
            return name.absoluteFilePath();
    }
    return {};
}

QList<PortEntry> list_ports(const QList<SystemPort> &system, const QString &by_id_folder)
{
    const std::map<int, QString> all_links = port_links();
    std::map<int, QString> links = all_links; // those no system port has taken yet
    QList<PortEntry> entries;
    for (const SystemPort &port : system) {
        PortEntry entry{0, port.device, describe(port), stable_name(port.device, by_id_folder)};
        const QString canonical = canonical_device(port.device);
        // The lowest number first: the map is in number order.
        for (auto link = links.begin(); link != links.end();) {
            if (canonical_device(link->second) != canonical) {
                ++link;
                continue;
            }
            if (entry.number == 0)
                entry.number = link->first;
            link = links.erase(link);
        }
        const int fixed = fixed_number(port.device);
        if (entry.number == 0 && fixed != 0 && !all_links.contains(fixed))
            entry.number = fixed;
        entries.append(entry);
    }
    // What only a link names: pseudo-terminals, network ports, devices that are gone.
    std::set<QString> linked;
    for (const auto &[number, device] : links) {
        if (linked.insert(canonical_device(device)).second)
            entries.append({number, device, {}, stable_name(device, by_id_folder)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const PortEntry &a, const PortEntry &b) {
        if ((a.number == 0) != (b.number == 0))
            return a.number != 0;
        return a.number != 0 ? a.number < b.number : a.device < b.device;
    });
    return entries;
}

} // namespace quvex::ports
