#include "link/link.h"
#include "ports/open_failure.h"
#include "ports/port_device.h"
#include "serial/unit_line.h"
#include "support/serial_rig.h"
#include "support/settings_bytes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
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

void wait_for_events()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Runs the event loop as the panel's exchanges do, blocking between events.
void run_events_for(int ms)
{
    QTimer tick;
    tick.start(Link::kTickMs);
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

// The real QSerialPort on a pseudo-terminal: the device is reached through the per-user port
// link, other programs' locks on it are honoured, and a vanishing far end neither crashes the
// panel nor keeps a core busy.
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

    void lock_of_another_program_data()
    {
        // %1: the process right-aligned in ten characters; "binary": as the 4 bytes of an int; "flock":
        // no file, the device itself locked
        QTest::addColumn<QString>("lock");
        QTest::addColumn<bool>("alive");
        QTest::addColumn<QString>("holder"); // %1: the process; empty: the port opens, under its own lock
        QTest::addRow("UUCP's") << "%1\n" << true << "process %1";
        QTest::addRow("minicom's") << "%1 minicom root\n" << true << "minicom (process %1)";
        QTest::addRow("UUCP's in binary") << "binary" << true << "process %1";
        QTest::addRow("no file, an advisory lock on the device") << "flock" << true << "flock (process %1)";
        QTest::addRow("UUCP's, its process gone") << "%1\n" << false << "";
        QTest::addRow("minicom's, its process gone") << "%1 minicom root\n" << false << "";
    }

    void lock_of_another_program()
    {
        QFETCH(QString, lock);
        QFETCH(QString, holder);
        QProcess owner;
        if (lock == "flock") {
            owner.start("flock", {m_slave_path, "-c", "echo; exec sleep 30"});
            QVERIFY(owner.waitForReadyRead());
        } else {
            owner.start("sleep", {"30"});
            QVERIFY(owner.waitForStarted());
        }
        const qint64 pid = owner.processId();
        QFETCH(bool, alive);
        if (!alive) {
            owner.kill();
            QVERIFY(owner.waitForFinished());
        }
        const QString path = serial_lock_path(m_slave_path);
        const qint32 binary = qint32(pid);
        const QByteArray bytes = lock == "binary"  ? QByteArray(reinterpret_cast<const char *>(&binary), 4)
                                 : lock == "flock" ? QByteArray("<missing>")
                                                   : lock.arg(pid, 10).toLatin1();
        if (lock != "flock")
            quvex::test::write_file(path, bytes);
        UnitLine port(wait_for_events);
        port.set_port_number(2);
        if (holder.isEmpty()) {
            QVERIFY(port.set_open(true));
            QVERIFY(quvex::test::file_bytes(path).startsWith(QByteArray::number(QCoreApplication::applicationPid())));
            QVERIFY(port.set_open(false));
            QVERIFY(!QFile::exists(path));
            return;
        }
        QVERIFY(!port.set_open(true));
        QCOMPARE(port.open_failure(),
                 m_slave_path + " is in use by " + holder.arg(pid) + ". Close that program, or choose another port.");
        QCOMPARE(quvex::test::file_bytes(path), bytes);
        owner.kill();
        owner.waitForFinished();
        QFile::remove(path);
    }

    void vanished_line_stays_open_and_idle()
    {
        UnitLine port(wait_for_events);
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

    // Made a network port while its device was gone: the next line goes to the network.
    void lost_line_comes_back_where_the_port_now_points()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        UnitLine port(wait_for_events);
        port.set_port_number(2);
        QVERIFY(port.set_open(true));
        ::close(m_master);
        m_master = -1;
        while (!port.line_lost())
            wait_for_events();
        QCOMPARE(link_port(2, QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort())), QString());

        QVERIFY(port.send("Zoom\r"));
        QTcpSocket *unit = server.nextPendingConnection();
        QVERIFY(unit);
        while (unit->bytesAvailable() < 5 && unit->waitForReadyRead())
            ;
        QCOMPARE(unit->readAll(), QByteArray("Zoom\r"));
        QVERIFY(!port.line_lost());
    }

    // An answer that came after its exchange gave up still sits in the driver, unread by Qt,
    // when the next line goes out: it must not pass for that line's answer.
    void late_answer_in_the_driver_never_answers_the_next_line()
    {
        quvex::test::SerialRig rig;
        Link &link = rig.link;
        link.commport_Change(QStringLiteral("2"));
        link.open_port();
        QVERIFY(link.is_port_open());
        QCOMPARE(::write(m_master, "9\r\n", 3), 3);
        QTest::qSleep(20); // into the driver's buffer; no event is processed meanwhile
        QByteArray heard;
        rig.operator_side.on_process_events = [&] {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            char buffer[64];
            const ssize_t count = ::read(m_master, buffer, sizeof buffer);
            heard.append(buffer, count > 0 ? count : 0);
            if (heard.endsWith('\r') && count > 0)
                QCOMPARE(::write(m_master, "5\r\n", 3), 3);
        };
        const Reading reading = link.query_item_value(QStringLiteral("Zoom"));
        QCOMPARE(heard, QByteArray("Zoom\r"));
        QVERIFY(reading && !reading->is_empty());
        QCOMPARE(reading->number(), 5.0);
    }
};

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
