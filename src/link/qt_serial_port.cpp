#include "qt_serial_port.h"

#include "port_device.h"

namespace quvex::link {

QtSerialPort::QtSerialPort(QObject *parent)
    : QObject(parent)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::on_error);
}

void QtSerialPort::set_port_number(int number)
{
    m_number = number;
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
    if (m_open)
        return true;
    m_port.setPortName(port_device(m_number));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_open = m_port.open(QIODevice::ReadWrite);
    return m_open;
}

void QtSerialPort::send(const QByteArray &bytes)
{
    // A lost line swallows what is sent; the exchange then times out as with a silent unit.
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
    // Qt's own buffer first, then the driver's: clear() alone leaves what Qt already read.
    m_port.readAll();
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

} // namespace quvex::link
