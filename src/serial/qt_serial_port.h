#pragma once

#include "line_backend.h"

#include <QObject>
#include <QSerialPort>

namespace quvex::serial {

// The serial line on QSerialPort: 9600 baud, 8N1, no flow control, modem lines untouched
// (pseudo-terminals refuse them). When the device vanishes the line stays open to the panel
// but stops reading, so a pulled cable never becomes a storm of read errors that keeps a core
// busy.
class QtSerialPort final : public QObject, public LineBackend
{
    Q_OBJECT

public:
    // Far more than any answer; bytes beyond it wait in the driver until the next line.
    static constexpr qint64 kReadBufferBytes = 512;

    explicit QtSerialPort(QObject *parent = nullptr);

    // The device's path; QSerialPort's lock is taken under its canonical name.
    void set_target(const QString &target) override { m_device = target; }
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    QString open_failure() const override { return m_open_failure; }
    void send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override;
    QByteArray read_waiting() override;
    void discard_input() override;

    bool line_lost() const override { return m_line_lost; }

private:
    bool open_device();
    void on_error(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_device;
    bool m_open = false;
    bool m_line_lost = false;
    QByteArray m_left_over;
    QString m_open_failure;
};

} // namespace quvex::serial
