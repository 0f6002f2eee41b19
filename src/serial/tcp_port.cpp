#include "tcp_port.h"

#include "network_address.h"
#include "text/visible_text.h"

#include <QDeadlineTimer>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

#include <algorithm>

#ifndef Q_OS_WIN
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace quvex::serial {

namespace {

QString reason_for(const QTcpSocket &socket)
{
    switch (socket.error()) {
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("name not found");
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("connection refused");
    case QAbstractSocket::NetworkError:
        return QStringLiteral("no route to the host");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("timed out");
    default:
        return socket.errorString();
    }
}

} // namespace

TcpPort::TcpPort(std::function<void()> wait_for_events, QObject *parent)
    : QObject(parent)
    , m_wait_for_events(std::move(wait_for_events))
{
    connect(&m_socket, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::UnconnectedState)
            on_dropped();
    });
}

TcpPort::~TcpPort()
{
    // Closed while the flags it reports to are still there.
    set_open(false);
}

void TcpPort::wait_while(const std::function<bool()> &condition, int timeout_ms)
{
    // The limit's expiry is an event of its own: the wait wakes for it when nothing else comes.
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(std::max(0, timeout_ms));
    // A prober that gives up interrupts the thread it probes on.
    while (condition() && limit.isActive() && !QThread::currentThread()->isInterruptionRequested())
        m_wait_for_events();
}

QString TcpPort::connect_line()
{
    const std::optional<NetworkAddress> address = parse_network_address(m_target);
    if (!address)
        return not_a_network_address(m_target);
    const QScopedValueRollback connecting(m_connecting, true);
    m_socket.abort();
    m_socket.setReadBufferSize(kReadBufferBytes);
    const QDeadlineTimer deadline(kConnectTimeoutMs);
    m_socket.connectToHost(address->host, address->port);
    const auto state = [this] { return m_socket.state(); };
    wait_while(
        [&] { return state() != QAbstractSocket::ConnectedState && state() != QAbstractSocket::UnconnectedState; },
        int(deadline.remainingTime()));
    if (state() == QAbstractSocket::ConnectedState) {
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        wait_while([&] { return state() == QAbstractSocket::ConnectedState; },
                   std::min(kSettleMs, int(deadline.remainingTime())));
    }
    if (state() == QAbstractSocket::ConnectedState) {
        discard_input(); // the banner
        return {};
    }
    QString reason = QStringLiteral("timed out");
    if (state() == QAbstractSocket::UnconnectedState && m_socket.error() == QAbstractSocket::RemoteHostClosedError) {
        // Turned away: ser2net says "Port already in use", a device server may say nothing.
        const QString said = text::visible_bytes(m_socket.readAll().simplified());
        reason = said.isEmpty() ? QStringLiteral("in use") : QStringLiteral("in use (\"%1\")").arg(said);
    } else if (state() == QAbstractSocket::UnconnectedState) {
        reason = reason_for(m_socket);
    }
    m_socket.abort();
    return text::visible(m_target) + QStringLiteral(": ") + reason;
}

void TcpPort::on_dropped()
{
    // After the connection is up: the server went away or dropped the client. The panel finds
    // out as a vanished device shows, by an exchange without answer.
    if (m_open && !m_connecting)
        m_line_lost = true;
}

bool TcpPort::set_open(bool open)
{
    if (!open) {
        m_open = false;
        m_line_lost = false;
        m_socket.abort();
        return true;
    }
    if (!m_open) {
        const QString failure = connect_line();
        m_open = failure.isEmpty();
        m_open_failure = failure;
    }
    return m_open;
}

void TcpPort::send(const QByteArray &bytes)
{
    if (m_line_lost)
        return;
    m_socket.write(bytes);
    // Out now, not at the next turn of the event loop; with Nagle off it leaves at once.
    m_socket.flush();
}

qint64 TcpPort::bytes_waiting() const
{
    return m_socket.bytesAvailable();
}

QByteArray TcpPort::read_waiting()
{
    return m_socket.readAll();
}

void TcpPort::discard_input()
{
    m_socket.skip(m_socket.bytesAvailable());
#ifndef Q_OS_WIN
    // What the system already holds for the socket, which Qt would read at the next event: as
    // much as is there now, no more, so a server that keeps talking cannot hold the panel here.
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return;
    const auto descriptor = int(m_socket.socketDescriptor());
    int pending = 0;
    if (::ioctl(descriptor, FIONREAD, &pending) != 0)
        return;
    char buffer[4096];
    while (pending > 0) {
        const ssize_t dropped = ::recv(descriptor, buffer, std::min(sizeof buffer, std::size_t(pending)), MSG_DONTWAIT);
        if (dropped <= 0)
            break;
        pending -= int(dropped);
    }
#endif
}

} // namespace quvex::serial
