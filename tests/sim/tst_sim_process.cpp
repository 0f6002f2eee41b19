// quvex-sim as the panel meets it: a real pseudo-terminal, its command line and its port link.
#include "pty_sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using quvex::test::SimProcess;

namespace {

// Sends on the device without touching its termios (the simulator must have made it raw), then
// collects bytes until the expected count has come and a quiet spell shows nothing more follows.
QByteArray exchange(const QString& device, const QByteArray& sent, qsizetype expected, qint64* elapsed_ms)
{
    const int fd = open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0 || write(fd, sent.constData(), size_t(sent.size())) != sent.size())
        return "<cannot use the device>";
    QElapsedTimer clock;
    clock.start();
    QByteArray received;
    for (;;) {
        pollfd watch{fd, POLLIN, 0};
        const int quiet = received.size() >= expected ? 100 : 600 - int(clock.elapsed());
        if (quiet <= 0 || poll(&watch, 1, quiet) <= 0)
            break;
        char buffer[64];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0)
            break;
        received.append(buffer, count);
        *elapsed_ms = clock.elapsed();
    }
    close(fd);
    return received;
}

} // namespace

class TestSimProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exchange_on_pty_data();
    void exchange_on_pty();
    void port_reopened_without_spinning();
    void bad_arguments_data();
    void bad_arguments();
    void port_link_data();
    void port_link();
};

void TestSimProcess::exchange_on_pty_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("min_ms");

    const QStringList fast{"--no-pacing"};
    QTest::addRow("read") << fast << QByteArray("VideoStd\r") << QByteArray("0\r\n") << 0;
    QTest::addRow("write") << fast << QByteArray("Overscan=1\r") << QByteArray(">") << 0;
    QTest::addRow("model honoured") << fast + QStringList{"--model", "QK1"} << QByteArray("Genlock\r")
                                    << QByteArray("?\n") << 0;
    QTest::addRow("paced at 9600 baud") << QStringList{} << QByteArray("OutH-Centre:\r") << QByteArray("512\r\n") << 4;
    QTest::addRow("delay") << fast + QStringList{"--delay", "150"} << QByteArray("Zoom\r") << QByteArray("0\r\n")
                           << 150;
    QTest::addRow("answer-unknown") << fast + QStringList{"--answer-unknown"} << QByteArray("Zoom=1\r")
                                    << QByteArray("?\n") << 0;
    QTest::addRow("silent") << fast + QStringList{"--silent"} << QByteArray("Zoom\r") << QByteArray() << 0;
    QTest::addRow("every second line dropped")
        << fast + QStringList{"--drop", "2"} << QByteArray("Zoom\rZoom=1\rZoom\r") << QByteArray("0\r\n0\r\n") << 0;
}

void TestSimProcess::exchange_on_pty()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, expected);
    QFETCH(int, min_ms);

    SimProcess sim(arguments);
    QVERIFY2(sim.start(), qPrintable(sim.error()));
    qint64 elapsed_ms = 0;
    QCOMPARE(exchange(sim.device_path(), sent, expected.size(), &elapsed_ms), expected);
    QVERIFY2(elapsed_ms >= min_ms, qPrintable(QString::number(elapsed_ms)));
    QCOMPARE(sim.stop(), 0);
}

// Each exchange opens and closes the device, as the panel does when it reconnects; in between,
// with nobody on the port, the simulator must sleep rather than poll a hung-up master.
void TestSimProcess::port_reopened_without_spinning()
{
    SimProcess sim({"--no-pacing"});
    QVERIFY2(sim.start(), qPrintable(sim.error()));
    qint64 elapsed_ms = 0;
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(exchange(sim.device_path(), "Zoom\r", 3, &elapsed_ms), QByteArray("0\r\n"));
        QTest::qSleep(150);
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(sim.process().processId()));
    QVERIFY(stat.open(QIODevice::ReadOnly));
    const auto fields = stat.readAll().split(')').last().split(' ');
    const long cpu_ticks = fields.value(12).toLong() + fields.value(13).toLong();
    QVERIFY2(cpu_ticks < 8, qPrintable(QString::number(cpu_ticks)));
}

void TestSimProcess::bad_arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("unknown model") << QStringList{"--model", "QVX"};
    QTest::addRow("negative delay") << QStringList{"--delay", "-5"};
    QTest::addRow("drop of zero") << QStringList{"--drop", "0"};
    QTest::addRow("port not a number") << QStringList{"--com", "one"};
    QTest::addRow("unknown option") << QStringList{"--loud"};
    QTest::addRow("stray argument") << QStringList{"QVM"};
}

void TestSimProcess::bad_arguments()
{
    QFETCH(QStringList, arguments);
    QProcess sim;
    sim.start(qEnvironmentVariable("QUVEX_SIM"), arguments);
    QVERIFY(sim.waitForFinished(1000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(!sim.readAllStandardError().isEmpty());
}

void TestSimProcess::port_link_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("fresh folder") << QString() << true;
    QTest::addRow("dead pty link replaced") << "/dev/pts/987654" << true;
    QTest::addRow("live link kept") << "/dev/null" << false;
}

void TestSimProcess::port_link()
{
    QFETCH(QString, existing);
    QFETCH(bool, accepted);

    QTemporaryDir config;
    QVERIFY(config.isValid());
    const QString link = config.filePath("quvex/ports/com7");
    if (!existing.isEmpty()) {
        QVERIFY(QDir().mkpath(config.filePath("quvex/ports")));
        QVERIFY(QFile::link(existing, link));
    }
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config.path());

    SimProcess sim({"--com", "7"}, environment);
    QCOMPARE(sim.start(), accepted);
    if (!accepted) {
        QCOMPARE(sim.stop(), 1);
        QCOMPARE(QFileInfo(link).symLinkTarget(), existing);
        return;
    }
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.device_path());
    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_sim_process.moc"
