#pragma once

#include "link/line.h"
#include "qt_serial_port.h"
#include "tcp_port.h"

#include <QString>

#include <functional>

namespace quvex::serial {

// The one place that makes the line to the unit: at every open it looks at what port N means
// (or at the device given instead) and talks through the serial port or, for a target
// tcp://HOST:PORT, through the network. The link never learns which. A line lost stays open to
// the panel, and the next line sent opens it again on what port N means by then, so a port
// relinked from a device to a network address (or back) meanwhile comes back on the right one.
class UnitLine final : public link::Line
{
public:
    // A network connect waits through wait_for_events (see TcpPort).
    explicit UnitLine(std::function<void()> wait_for_events);

    // A device path or tcp://HOST:PORT instead of port number N; empty: port N again.
    void set_device(const QString &device) { m_device = device; }

    void set_port_number(int number) override { m_number = number; }
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    QString open_failure() const override { return m_line->open_failure(); }
    bool send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override { return m_line->bytes_waiting(); }
    QByteArray read_waiting() override { return m_line->read_waiting(); }
    void discard_input() override { m_line->discard_input(); }
    bool line_lost() const override { return m_lost || m_line->line_lost(); }

private:
    bool open_target();

    QtSerialPort m_serial;
    TcpPort m_network;
    LineBackend *m_line = &m_serial;
    QString m_device;
    int m_number = 1;
    bool m_open = false;
    bool m_lost = false; // lost, and not opened again since
};

} // namespace quvex::serial
