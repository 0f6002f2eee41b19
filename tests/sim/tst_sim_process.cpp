// quvex-sim as the panel meets it: a real pseudo-terminal, its command line and its port link.
#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

static int open_device(const QString &device)
{
    return open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

// Leaves the device's termios alone (the simulator must have made it raw); reads to a quiet spell.
static QByteArray exchange(const QString &device, const QByteArray &sent)
{
    const int fd = open_device(device);
    QByteArray received = write(fd, sent.constData(), size_t(sent.size())) == sent.size() ? "" : "<no device>";
    pollfd watch{fd, POLLIN, 0};
    char buffer[64];
    for (ssize_t count = 0; poll(&watch, 1, 500) > 0 && (count = read(fd, buffer, sizeof buffer)) > 0;)
        received.append(buffer, count);
    close(fd);
    return received;
}

// Sends and reads byte by byte until the bytes end with `end`, or a second has passed.
static QByteArray talk(int fd, const QByteArray &sent, const QByteArray &end)
{
    QByteArray received = write(fd, sent.constData(), size_t(sent.size())) == sent.size() ? "" : "<not sent>";
    const QDeadlineTimer deadline(1000);
    pollfd watch{fd, POLLIN, 0};
    char byte = 0;
    while (!received.endsWith(end) && poll(&watch, 1, int(deadline.remainingTime())) > 0 && read(fd, &byte, 1) == 1)
        received += byte;
    return received;
}

// What arrives within ms, and what a late wake-up finds waiting at the end.
static QByteArray listen(int fd, int ms)
{
    QByteArray received;
    const QDeadlineTimer deadline(ms);
    pollfd watch{fd, POLLIN, 0};
    char buffer[256];
    for (ssize_t count = 0;
         poll(&watch, 1, int(deadline.remainingTime())) > 0 && (count = read(fd, buffer, sizeof buffer)) > 0;)
        received.append(buffer, count);
    return received;
}

// Chatter is letters, and no answer has any.
static qsizetype leading_chatter(const QByteArray &bytes)
{
    const auto is_letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    return std::find_if_not(bytes.begin(), bytes.end(), is_letter) - bytes.begin();
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
    void chatter_data();
    void chatter();
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
    QTest::addRow("vanish after no line") << QStringList{"--vanish-after", "0"};
    QTest::addRow("vanish-for alone") << QStringList{"--vanish-for", "100"};
    QTest::addRow("wrong baud rate of none") << QStringList{"--wrong-baud", "0"};
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

void TestSimProcess::chatter_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("paced") << QStringList{"--chatter"};
    QTest::addRow("unpaced") << QStringList{"--chatter", "--no-pacing"};
    QTest::addRow("late answers") << QStringList{"--chatter", "--delay", "30"};
}

// Letters come unasked, but never between a line and the end of its answer; then they go on at 960/s.
void TestSimProcess::chatter()
{
    QFETCH(QStringList, arguments);
    quvex::test::SimProcess sim(arguments);
    QVERIFY2(sim.start(), qPrintable(sim.error()));
    const int fd = open_device(sim.device_path());
    for (int round = 0; round < 5; ++round) {
        for (const QByteArray &answer : {QByteArray(">"), QByteArray("1\r\n")}) {
            const QByteArray heard = talk(fd, answer == ">" ? "Overscan=1\r" : "Overscan\r", answer);
            QCOMPARE(heard.mid(leading_chatter(heard)), answer);
        }
    }
    const QByteArray idle = listen(fd, 300);
    close(fd);
    QVERIFY2(idle.size() >= 150 && idle.size() <= 450, QByteArray::number(idle.size()));
    QCOMPARE(leading_chatter(idle), idle.size());
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_sim_process.moc"
