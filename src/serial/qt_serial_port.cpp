#include "qt_serial_port.h"

#include "ports/device_lock.h"
#include "ports/open_failure.h"
#include "ports/port_list.h"

namespace quvex::serial {

QtSerialPort::QtSerialPort(QObject *parent)
    : QObject(parent)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::on_error);
}

bool QtSerialPort::open_device()
{
    const QString &device = m_device;
    // QSerialPort names its lock file after the path it is given: every name of one device must
    // meet the same lock. The operator's name stays for what is told.
    m_port.setPortName(ports::canonical_device(device));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // A unit that sends without being asked (a wrong baud rate, a looping unit) would
    // otherwise fill memory while nothing reads; what waits is discarded before each line.
    m_port.setReadBufferSize(kReadBufferBytes);
    // QSerialPort reads only its own lock files; a live owner of any other is refused here, and
    // the advisory lock keeps out a root process, which the exclusive open does not.
    bool opened = false;
    if (ports::device_holder(device).isEmpty()) {
        ports::clear_stale_lock(device);
        opened = m_port.open(QIODevice::ReadWrite);
        if (opened && !ports::lock_open_device(m_port)) {
            m_port.close();
            opened = false;
        }
    }
    m_open_failure = opened ? QString() : ports::open_failure_reason(device, m_port.errorString());
    return opened;
}

bool QtSerialPort::set_open(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        m_open = false;
        m_line_lost = false;
        m_left_over.clear();
        return true;
    }
    if (!m_open)
        m_open = open_device();
    return m_open;
}

void QtSerialPort::send(const QByteArray &bytes)
{
    if (m_port.isOpen())
        m_port.write(bytes);
}

qint64 QtSerialPort::bytes_waiting() const
{
    return m_left_over.size() + (m_port.isOpen() ? m_port.bytesAvailable() : 0);
}

QByteArray QtSerialPort::read_waiting()
{
    QByteArray bytes = std::exchange(m_left_over, {});
    if (m_port.isOpen())
        bytes += m_port.readAll();
    return bytes;
}

void QtSerialPort::discard_input()
{
    m_left_over.clear();
    if (!m_port.isOpen())
        return;
    // Both what Qt has already read and what still waits in the driver.
    m_port.clear(QSerialPort::Input);
}

void QtSerialPort::on_error(QSerialPort::SerialPortError error)
{
    // Qt reports NoError once while opening; only a vanished device matters here.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (!m_open || m_line_lost || !m_port.isOpen())
        return;
    m_line_lost = true;
    m_left_over += m_port.readAll();
    m_port.close();
}

} // namespace quvex::serial
