#pragma once

#include "link/serial_port.h"
#include "qt_serial_port.h"
#include "tcp_port.h"

#include <QString>

#include <functional>

namespace quvex::serial {

// The one place that makes the line to the unit: at every open it looks at what port N means
// (or at the device given instead) and talks through the serial port or, for a target
// tcp://HOST:PORT, through the network. The link never learns which.
class UnitLine final : public link::SerialPort
{
public:
    // A network connect waits through wait_for_events (see TcpPort).
    explicit UnitLine(std::function<void()> wait_for_events);

    // A device path or tcp://HOST:PORT instead of port number N; empty: port N again.
    void set_device(const QString &device) { m_device = device; }

    void set_port_number(int number) override;
    bool set_open(bool open) override;
    bool is_open() const override { return m_line->is_open(); }
    QString open_failure() const override { return m_line->open_failure(); }
    bool send(const QByteArray &bytes) override { return m_line->send(bytes); }
    qint64 bytes_waiting() const override { return m_line->bytes_waiting(); }
    QByteArray read_waiting() override { return m_line->read_waiting(); }
    void discard_input() override { m_line->discard_input(); }
    bool line_lost() const override { return m_line->line_lost(); }

private:
    QtSerialPort m_serial;
    TcpPort m_network;
    link::SerialPort *m_line = &m_serial;
    QString m_device;
    int m_number = 1;
};

} // namespace quvex::serial
