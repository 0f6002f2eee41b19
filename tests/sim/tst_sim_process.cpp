// quvex-sim as the panel meets it: a real pseudo-terminal, its command line and its port link.
#include "pty_sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// Leaves the device's termios alone (the simulator must have made it raw); reads to a quiet spell.
static QByteArray exchange(const QString& device, const QByteArray& sent)
{
    const int fd = open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QByteArray received = write(fd, sent.constData(), size_t(sent.size())) == sent.size() ? "" : "<no device>";
    pollfd watch{fd, POLLIN, 0};
    char buffer[64];
    for (ssize_t count = 0; poll(&watch, 1, 500) > 0 && (count = read(fd, buffer, sizeof buffer)) > 0;)
        received.append(buffer, count);
    close(fd);
    return received;
}

class TestSimProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exchange_then_idle();
    void bad_arguments_data();
    void bad_arguments();
    void port_link_data();
    void port_link();
};

// Reopened as the panel does on reconnecting; with nobody on the port the simulator must sleep.
void TestSimProcess::exchange_then_idle()
{
    quvex::test::SimProcess sim({"--no-pacing"});
    QVERIFY2(sim.start(), qPrintable(sim.error()));
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(exchange(sim.device_path(), "VideoStd\rOverscan=1\rBogus\r"), QByteArray("0\r\n>?\n"));
        QTest::qSleep(200);
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(sim.process().processId()));
    QVERIFY(stat.open(QIODevice::ReadOnly));
    const auto fields = stat.readAll().split(')').last().split(' '); // utime, stime: fields 14, 15
    QVERIFY2(fields.value(12).toLong() + fields.value(13).toLong() < 8, fields.value(12) + ' ' + fields.value(13));
}

void TestSimProcess::bad_arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("unknown model") << QStringList{"--model", "QVX"};
    QTest::addRow("port not a number") << QStringList{"--com", "one"};
    QTest::addRow("unknown option") << QStringList{"--loud"};
}

void TestSimProcess::bad_arguments()
{
    QFETCH(QStringList, arguments);
    QProcess sim;
    sim.start(qEnvironmentVariable("QUVEX_SIM"), arguments);
    QVERIFY(sim.waitForFinished(1000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(!sim.readAllStandardError().isEmpty());
}

void TestSimProcess::port_link_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("fresh folder") << QString() << true;
    QTest::addRow("live link kept") << "/dev/null" << false;
}

void TestSimProcess::port_link()
{
    QFETCH(QString, existing);
    QFETCH(bool, accepted);
    QTemporaryDir config;
    const QString link = config.filePath("quvex/ports/com7");
    QVERIFY(existing.isEmpty() || (QDir().mkpath(config.filePath("quvex/ports")) && QFile::link(existing, link)));
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config.path());

    quvex::test::SimProcess sim({"--com", "7"}, environment);
    QCOMPARE(sim.start(), accepted);
    QCOMPARE(QFileInfo(link).symLinkTarget(), accepted ? sim.device_path() : existing);
    QCOMPARE(sim.stop(), accepted ? 0 : 1);
    QCOMPARE(QFileInfo(link).isSymLink(), !accepted);
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_sim_process.moc"
