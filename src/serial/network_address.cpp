#include "network_address.h"

#include "ports/port_device.h"
#include "text/visible_text.h"

#include <QUrl>

namespace quvex::serial {

namespace {

const QString kScheme = QStringLiteral("tcp");

} // namespace

std::optional<NetworkAddress> parse_network_address(const QString &target)
{
    if (!ports::is_network_target(target))
        return std::nullopt;
    const QUrl url(target, QUrl::StrictMode);
    const int port = url.port();
    if (!url.isValid() || url.scheme().compare(kScheme, Qt::CaseInsensitive) != 0 || url.host().isEmpty() || port < 1
        || !url.path().isEmpty() || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty())
        return std::nullopt;
    return NetworkAddress{url.host(), quint16(port)};
}

QString not_a_network_address(const QString &target)
{
    return QStringLiteral("%1 is not a network address: give tcp://HOST:PORT with PORT 1 to 65535")
        .arg(text::visible(target));
}

QString network_target(const NetworkAddress &address)
{
    const QString host = address.host.contains(u':') ? u'[' + address.host + u']' : address.host;
    return kScheme + QStringLiteral("://") + host + u':' + QString::number(address.port);
}

} // namespace quvex::serial
