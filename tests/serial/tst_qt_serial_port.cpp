#include "link/link.h"
#include "ports/port_device.h"
#include "serial/qt_serial_port.h"
#include "support/fake_operator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <ctime>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace quvex::link;
using namespace quvex::serial;
using namespace quvex::ports;

namespace {

double cpu_seconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC; // the process's processor time
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
class TestQtSerialPort : public QObject
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
        QCOMPARE(fcntl(m_master, F_SETFL, O_NONBLOCK), 0);
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

    // An answer that came after its exchange gave up still sits in the driver, unread by Qt,
    // when the next line goes out: it must not pass for that line's answer.
    void late_answer_in_the_driver_never_answers_the_next_line()
    {
        QtSerialPort port;
        quvex::test::FakeOperator operator_side;
        Link link(port, operator_side);
        link.commport_Change(QStringLiteral("2"));
        link.open_port();
        QVERIFY(link.is_port_open());
        QCOMPARE(::write(m_master, "9\r\n", 3), 3);
        QTest::qSleep(20); // into the driver's buffer; no event is processed meanwhile
        QByteArray heard;
        operator_side.on_process_events = [&] {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            char buffer[64];
            const ssize_t count = ::read(m_master, buffer, sizeof buffer);
            heard.append(buffer, count > 0 ? count : 0);
            if (heard.endsWith('\r') && count > 0)
                QCOMPARE(::write(m_master, "5\r\n", 3), 3);
        };
        QTimer timer1;
        connect(&timer1, &QTimer::timeout, [&] { link.Timer1_Timer(); });
        timer1.start(100);

        const Reading reading = link.query_item_value(QStringLiteral("Zoom"));
        QCOMPARE(heard, QByteArray("Zoom\r"));
        QVERIFY(reading && !reading->is_empty());
        QCOMPARE(reading->number(), 5.0);
    }
};

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
