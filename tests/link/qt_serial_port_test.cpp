#include "link/port_device.h"
#include "link/qt_serial_port.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

using namespace quvex::link;

namespace {

double cpu_seconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop as the panel's exchanges do, blocking between events.
void run_events_for(int ms)
{
    QTimer tick;
    tick.start(100);
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

// The real QSerialPort on a pseudo-terminal: the device is reached through the per-user port
// link, and a vanishing far end neither crashes the panel nor keeps a core busy.
class QtSerialPortTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    int m_master = -1;
    QString m_slave_path;

private Q_SLOTS:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(ports_folder()));
        int slave = -1;
        char name[256] = {};
        QCOMPARE(openpty(&m_master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        m_slave_path = QString::fromLocal8Bit(name);
        QVERIFY(QFile::link(m_slave_path, ports_folder() + QStringLiteral("/com2")));
    }

    void cleanup()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
        QFile::remove(ports_folder() + QStringLiteral("/com2"));
    }

    void port_numbers_map_to_devices()
    {
        QCOMPARE(port_device(2), m_slave_path);
        QCOMPARE(port_device(3), QStringLiteral("/dev/ttyS2"));
        QtSerialPort port;
        port.set_port_number(40);
        QVERIFY(!port.set_open(true)); // no /dev/ttyS39 here
        QVERIFY(!port.is_open());
    }

    void vanished_line_stays_open_and_idle()
    {
        QtSerialPort port;
        port.set_port_number(2);
        QVERIFY(port.set_open(true));
        ::close(m_master);
        m_master = -1;

        const double cpu_before = cpu_seconds();
        run_events_for(500);
        const double cpu_used = cpu_seconds() - cpu_before;
        QVERIFY(port.line_lost());
        QVERIFY(port.is_open());
        port.send("Zoom\r");
        QCOMPARE(port.read_waiting(), QByteArray());
        QVERIFY2(cpu_used < 0.25, qPrintable(QStringLiteral("CPU %1 s in 0.5 s").arg(cpu_used)));
        QVERIFY(port.set_open(false));
    }
};

QTEST_GUILESS_MAIN(QtSerialPortTest)
#include "qt_serial_port_test.moc"
