#pragma once

#include <QString>

#include <optional>

namespace quvex::serial {

// A unit behind a serial device server is reached by raw TCP to HOST:PORT, named as the text
// tcp://HOST:PORT wherever a device path could stand (a port link's target, quvexctl's --device).
struct NetworkAddress
{
    QString host;
    quint16 port = 0;
};

// Nothing when the text is not tcp://HOST:PORT with a port from 1 to 65535 and nothing after it.
// A text that ports::is_network_target() takes for an address and that gives nothing here is
// a malformed one, never a device.
std::optional<NetworkAddress> parse_network_address(const QString &target);

// Why such a malformed address cannot be reached, as a person reads it.
QString not_a_network_address(const QString &target);

// tcp://HOST:PORT, an IPv6 host in brackets.
QString network_target(const NetworkAddress &address);

} // namespace quvex::serial
