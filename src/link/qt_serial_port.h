#pragma once

#include "serial_port.h"

#include <QObject>
#include <QSerialPort>

namespace quvex::link {

// The serial line on QSerialPort: 9600 baud, 8N1, no flow control, modem lines untouched
// (pseudo-terminals refuse them). When the device vanishes the line stays open to the panel
// but stops reading, so a pulled cable shows up as exchanges without an answer and never as
// a storm of read errors that keeps a core busy.
class QtSerialPort final : public QObject, public SerialPort
{
    Q_OBJECT

public:
    explicit QtSerialPort(QObject *parent = nullptr);

    void set_port_number(int number) override;
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    void send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override;
    QByteArray read_waiting() override;
    void discard_input() override;

    bool line_lost() const { return m_line_lost; }

private:
    void on_error(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    int m_number = 1;
    bool m_open = false;
    bool m_line_lost = false;
    QByteArray m_left_over;
};

} // namespace quvex::link
