#pragma once

#include "line_backend.h"

#include <QObject>
#include <QTcpSocket>

#include <functional>

namespace quvex::serial {

// The line to a unit behind a serial device server (a hardware box, or ser2net): raw TCP to
// tcp://HOST:PORT, no telnet or RFC 2217 negotiation, the server holding the line at 9600 8N1.
// Only ever connects, never listens. A connection that drops stays open to the panel, as a
// vanished serial device does. Whatever the server says before the first line (a banner) is
// never read as an answer.
class TcpPort final : public QObject, public LineBackend
{
    Q_OBJECT

public:
    // The window stays locked for a connect; longer than this and the operator thinks it hangs.
    static constexpr int kConnectTimeoutMs = 3000;
    // A server that turns a client away (ser2net: "Port already in use") accepts the connection,
    // says why and closes it at once: a new connection counts only once it has stayed up this
    // long. What the server sends meanwhile is its banner.
    static constexpr int kSettleMs = 200;
    // As on a serial port: far more than any answer; beyond it the server is held back by TCP.
    static constexpr qint64 kReadBufferBytes = 512;

    // A connect waits through wait_for_events, which handles pending events and blocks until the
    // next one arrives (the window repaints meanwhile; Timer1 keeps ticking).
    explicit TcpPort(std::function<void()> wait_for_events, QObject *parent = nullptr);
    ~TcpPort() override;

    // tcp://HOST:PORT.
    void set_target(const QString &target) override { m_target = target; }
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    QString open_failure() const override { return m_open_failure; }
    void send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override;
    QByteArray read_waiting() override;
    void discard_input() override;

    bool line_lost() const override { return m_line_lost; }

private:
    // Empty when the line is up, else why it is not, the target named first.
    QString connect_line();
    void wait_while(const std::function<bool()> &condition, int timeout_ms);
    void on_dropped();

    std::function<void()> m_wait_for_events;
    QTcpSocket m_socket;
    QString m_target;
    bool m_open = false;
    bool m_connecting = false;
    bool m_line_lost = false;
    QString m_open_failure;
};

} // namespace quvex::serial
