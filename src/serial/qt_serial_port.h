#pragma once

#include "link/serial_port.h"

#include <QObject>
#include <QSerialPort>

namespace quvex::serial {

// The serial line on QSerialPort: 9600 baud, 8N1, no flow control, modem lines untouched
// (pseudo-terminals refuse them). When the device vanishes the line stays open to the panel
// but stops reading, so a pulled cable never becomes a storm of read errors that keeps a core
// busy; the next line sent opens port N again, wherever it points by then.
class QtSerialPort final : public QObject, public link::SerialPort
{
    Q_OBJECT

public:
    // Far more than any answer; bytes beyond it wait in the driver until the next line.
    static constexpr qint64 kReadBufferBytes = 512;

    explicit QtSerialPort(QObject *parent = nullptr);

    void set_port_number(int number) override;
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    QString open_failure() const override { return m_open_failure; }
    bool send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override;
    QByteArray read_waiting() override;
    void discard_input() override;

    bool line_lost() const override { return m_line_lost; }
    // A device named by its path instead of by port number; empty: port N again.
    void set_device(QString path) { m_device = std::move(path); }

private:
    bool open_device();
    void on_error(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    int m_number = 1;
    QString m_device;
    bool m_open = false;
    bool m_line_lost = false;
    QByteArray m_left_over;
    QString m_open_failure;
};

} // namespace quvex::serial
