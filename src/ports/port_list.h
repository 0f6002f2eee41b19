#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace quvex::ports {

inline const QString kByIdFolder = QStringLiteral("/dev/serial/by-id");

// A serial port as the system reports it.
struct SystemPort
{
    QString device; // "/dev/ttyUSB0"
    QString description;
    QString manufacturer;
    QString serial_number;
};

// A port the panel could talk through: a serial port the system reports, or a comN link in the
// ports folder (pseudo-terminals and network ports, which the system does not report).
struct PortEntry
{
    int number = 0;      // the port number it answers to today; 0: none
    QString device;      // the device path, or a link's target that is no path, as written
    QString description; // what the system says it is, serial number included
    QString stable_name; // its by-id link, which keeps its name across replugging; empty: none
};

// Every serial port the system reports.
QList<SystemPort> system_ports();

// Where the serial ports the system reports come from: system_ports in the programs, a fixed
// list in the tests, so that nothing above the port layer asks the hardware itself.
using SystemPorts = std::function<QList<SystemPort>()>;

// The candidate ports, numbered ones first in number order, then the rest by device. A device
// answers to the numbers of the comN links that lead to it (the lowest is given), else
// /dev/ttyS<N-1> to N unless a link comN names something else. Paths are compared in
// canonical form, so a link to a link finds its device.
QList<PortEntry> list_ports(const QList<SystemPort> &system, const QString &by_id_folder = kByIdFolder);

// The link in by_id_folder that leads to device; empty when there is none.
QString stable_name(const QString &device, const QString &by_id_folder = kByIdFolder);

// Where a path leads, links followed; the path itself, cleaned, when it leads nowhere. A network
// address is no path and stays as it is.
QString canonical_device(const QString &path);

} // namespace quvex::ports
