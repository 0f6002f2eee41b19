// quvexctl's backup store against several quvex-sim units at once, each on a pseudo-terminal
// that a comN link names through a link of the test's own, so that a unit keeps its name when
// its simulator is started again on another pseudo-terminal, as a by-id name keeps an adapter's.
#include "quvexctl_run.h"
#include "support/settings_bytes.h"
#include "support/sim_process.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace quvex;

namespace {

using test::quvexctl;
using test::Run;

// The lines of ports 1 to 4: a machine's own serial ports may follow them.
QByteArray own_ports(const QByteArray &out)
{
    QByteArray lines;
    for (const QByteArray &line : out.split('\n')) {
        if (QByteArrayList{"1\t", "2\t", "3\t", "4\t"}.contains(line.left(2)))
            lines += line + '\n';
    }
    return lines;
}

} // namespace

class TestQuvexctlBackup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::vector<std::unique_ptr<test::SimProcess>> m_units;

    QString store() const { return m_home.filePath("store"); }

    // Unit N (from 1) plays this; port N names it through the stable link units/unitN.
    bool start_unit(int number, const QStringList &arguments)
    {
        const QString name = m_home.filePath(QStringLiteral("units/unit%1").arg(number));
        const QString port = m_home.filePath(QStringLiteral("quvex/ports/com%1").arg(number));
        m_units.resize(std::max<std::size_t>(m_units.size(), std::size_t(number)));
        m_units[std::size_t(number - 1)] = test::start_sim(arguments + QStringList{"--no-pacing"});
        QFile::remove(name);
        QFile::remove(port);
        return !m_units[std::size_t(number - 1)]->device_path().isEmpty()
               && QFile::link(m_units[std::size_t(number - 1)]->device_path(), name) && QFile::link(name, port);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(m_home.filePath("units")) && QDir().mkpath(m_home.filePath("quvex/ports")));
    }

    // Four units of mixed models; between two backups one changes a value and one falls silent.
    void backups_of_a_rack()
    {
        const QStringList models{"QVL", "QVMX", "QK2", "QVM"};
        for (int n = 1; n <= 4; ++n)
            QVERIFY(start_unit(n, {"--model", models.at(n - 1)}));
        const QStringList backup{"backup", "--all", "--to", store()};
        Run run = quvexctl(backup);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(own_ports(run.out), "1\tQVL\tnew version\n2\tQVMX\tnew version\n3\tQK2\tnew version\n"
                                     "4\tQVM\tnew version\n");
        QCOMPARE(run.exit_code, 0);
        QCOMPARE(quvexctl({"changes", "--all", "--to", store()}).exit_code, 0);

        QCOMPARE(quvexctl({"--port", "2", "set", "Flicker Red.=5"}).exit_code, 0);
        run = quvexctl({"--port", "2", "changes", "--to", store()});
        QCOMPARE(run.out, "Flicker Red.\t3\t5\n");
        QCOMPARE(run.exit_code, 1);
        QVERIFY(start_unit(4, {"--silent"}));
        run = quvexctl({"changes", "--all", "--to", store()});
        QCOMPARE(run.out, "2\tQVMX\tFlicker Red.\t3\t5\n");
        QCOMPARE(run.err, "quvexctl: 4: no answer\n");
        QCOMPARE(run.exit_code, 2);

        run = quvexctl(backup);
        QCOMPARE(own_ports(run.out), "1\tQVL\tunchanged\n2\tQVMX\tnew version\n3\tQK2\tunchanged\n4\tQVM\tno answer\n");
        QCOMPARE(run.exit_code, 2);
        run = quvexctl({"--port", "2", "history", "--to", store()});
        QVERIFY2(QRegularExpression("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ)\t-\n(?!\\1)[-0-9T:]+Z\t1\n$")
                     .match(QString::fromLatin1(run.out))
                     .hasMatch(),
                 run.out.constData());
        QCOMPARE(quvexctl({"--port", "2", "changes", "--to", store()}).exit_code, 0);
        // What the store holds for port 2 is the unit's own settings file.
        const QString newest = QString::fromLatin1(run.out.split('\n').at(1).split('\t').at(0));
        QCOMPARE(quvexctl({"--port", "2", "history", "--to", store(), "--show", newest}).out,
                 quvexctl({"--port", "2", "read"}).out);
        const QString first = QString::fromLatin1(run.out.left(20));
        QCOMPARE(quvexctl({"--port", "2", "restore", "--to", store(), "--at", first}).exit_code, 0);
        QCOMPARE(quvexctl({"--port", "2", "get", "Flicker Red."}).out, "Flicker Red.\t3\n");

        // A unit of another model on port 3 has a history of its own, which its model finds.
        QVERIFY(start_unit(3, {"--model", "QVL"}));
        QCOMPARE(quvexctl({"--port", "3", "backup", "--to", store()}).out, "3\tQVL\tnew version\n");
        run = quvexctl({"--port", "3", "history", "--to", store()});
        QVERIFY2(QRegularExpression("^[-0-9T:]+Z\t-\n$").match(QString::fromLatin1(run.out)).hasMatch(),
                 run.out.constData());
    }

    // The adapter is pulled in the middle of the first backup: no version, nothing half-written.
    void unit_pulled_mid_backup()
    {
        QVERIFY(start_unit(1, {"--model", "QVM", "--vanish-after", "20", "--vanish-for", "300"}));
        const QString other_store = m_home.filePath("pulled");
        test::write_file(m_home.filePath("quvex/unit-names"), m_home.filePath("units/unit1").toUtf8() + "\tStudio B\n");
        Run run = quvexctl({"backup", "--json", "--to", other_store});
        QCOMPARE(QString::fromUtf8(run.out),
                 "{\"units\":[{\"model\":\"QVM\",\"name\":\"Studio B\",\"port\":\"1\",\"result\":"
                 "\"not read to the end\",\"target\":\""
                     + m_home.filePath("units/unit1") + "\"}]}\n");
        QCOMPARE(run.exit_code, 2);
        run = quvexctl({"changes", "--to", other_store});
        QCOMPARE(run.err, "quvexctl: 1: no backup of the unit there yet\n");
        QCOMPARE(run.exit_code, 3);
        QDirIterator files(other_store, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        QVERIFY2(!files.hasNext(), qPrintable(files.next()));
    }

    // A stop signal in the middle: every unit gets its own video mode back, and nothing is kept.
    void stopped_backup()
    {
        for (int n = 1; n <= 2; ++n)
            QVERIFY(start_unit(n, {"--model", "QVM", "--delay", "100", "--trace"}));
        QProcess child;
        test::start_child(child, QUVEXCTL, {"backup", "--all", "--to", m_home.filePath("stopped")});
        QVERIFY(test::send_signals(child, *m_units[0], {"TERM VideoStd=1"}) >= 0);
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(test::how_ended(child), "SIGTERM");
        QCOMPARE(child.readAllStandardOutput(), QByteArray());
        for (const QString port : {"1", "2"})
            QCOMPARE(quvexctl({"--port", port, "--model", "QVM", "get", "Video Std", "Overscan"}).out,
                     "Video Std\t0\nOverscan\t0\n");
        QVERIFY(!QDirIterator(m_home.filePath("stopped"), QDir::Files, QDirIterator::Subdirectories).hasNext());
    }

    void write_all_data()
    {
        QTest::addColumn<QList<QStringList>>("units"); // on ports 1 to 4
        QTest::addColumn<QByteArray>("items");         // of a QVMX's file
        QTest::addColumn<QByteArray>("out");           // ports 1 to 4
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("exit_code");
        const QStringList qvmx{"--model", "QVMX"}, qk1{"--model", "QK1"}, silent{"--silent"};
        const QByteArray values = "\"Flicker Red.\",5\r\n\"Pan X Pos:\",-4\r\n";
        const QByteArray others = "3\t\tanother model, left alone\n4\t\tno answer\n";
        QTest::addRow("into both units of its model")
            << QList<QStringList>{qvmx, qvmx, qk1, silent} << values
            << "1\t\twritten\n2\tStudio A<09>genlock\twritten\n" + others << QByteArray() << 0;
        // The same line a unit reads back otherwise, and beside it a unit that stops answering.
        const QByteArray measured = "\twritten; read back otherwise: Total Lines 625\n";
        QTest::addRow("a measured item") << QList<QStringList>{qvmx, qvmx, qk1, silent}
                                         << values + "\"Total Lines\",600\r\n"
                                         << "1\t" + measured + "2\tStudio A<09>genlock" + measured + others
                                         << QByteArray() << 1;
        QTest::addRow("a measured item, a unit that stops answering")
            << QList<QStringList>{qvmx + QStringList{"--drop", "12"}, qvmx, qk1, silent}
            << values + "\"Total Lines\",600\r\n\"Keyer\",1\r\n"
            << "1\t\tnot written to the end\n2\tStudio A<09>genlock" + measured + others
            << QByteArray("quvexctl: QVMX has no item \"Keyer\"; its line was not sent\n") << 2;
        QTest::addRow("no unit of its model")
            << QList<QStringList>{qk1, qk1, qk1, silent} << values
            << "1\t\tanother model, left alone\n2\tStudio A<09>genlock\tanother model, left alone\n" + others
            << QByteArray("quvexctl: no QVMX unit answered; nothing was written\n") << 2;
    }

    // A file into every unit of its model at once: one line a port, each with the name given to
    // its unit; the others are asked their model and nothing else.
    void write_all()
    {
        QFETCH(QList<QStringList>, units);
        QFETCH(QByteArray, items);
        for (int n = 1; n <= 4; ++n)
            QVERIFY(start_unit(n, units.at(n - 1) + QStringList{"--trace"}));
        test::write_file(m_home.filePath("quvex/unit-names"),
                         m_home.filePath("units/unit2").toUtf8() + "\tStudio A%09genlock\n");
        const QString file = m_home.filePath("qvmx.cfg");
        test::write_file(file, test::settings_header("QUVEXview Max X") + items);
        const Run run = quvexctl({"write", "--all", file});
        QTEST(own_ports(run.out), "out");
        QTEST(run.err, "err");
        QTEST(run.exit_code, "exit_code");
        for (int n = 1; n <= 4; ++n) {
            const QStringList heard = m_units[std::size_t(n - 1)]->heard(500);
            if (units.at(n - 1).contains("QVMX") && !units.at(n - 1).contains("--drop"))
                QCOMPARE(quvexctl({"--port", QString::number(n), "get", "Flicker Red.", "Pan X Pos:"}).out,
                         "Flicker Red.\t5\nPan X Pos:\t-4\n");
            else if (!units.at(n - 1).contains("QVMX"))
                QCOMPARE(heard.join(u' '), n == 4 ? "Genlock" : "Genlock Buttons Keyer Clockwidth:");
        }
    }

    // A stop signal in the middle of a write into every unit: each gets its own video mode back.
    void stopped_write_all()
    {
        for (int n = 1; n <= 2; ++n)
            QVERIFY(start_unit(n, {"--model", "QVM", "--delay", "100", "--trace"}));
        const QString file = m_home.filePath("qvm.cfg");
        test::write_file(file, test::settings_header("QUVEXview Max") + "\"PO\\Out H-Centre:\",301\r\n");
        QProcess child;
        test::start_child(child, QUVEXCTL, {"write", "--all", file});
        QVERIFY(test::send_signals(child, *m_units[0], {"TERM VideoStd=1"}) >= 0);
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(test::how_ended(child), "SIGTERM");
        QCOMPARE(child.readAllStandardOutput(), QByteArray());
        for (const QString port : {"1", "2"})
            QCOMPARE(
                quvexctl({"--port", port, "--model", "QVM", "get", "Video Std", "Overscan", "PO\\Out H-Centre:"}).out,
                "Video Std\t0\nOverscan\t0\nPO\\Out H-Centre:\t508\n");
    }

    // A panel or another quvexctl holds the port of units the store knows: their models are named,
    // with the holder.
    void unit_held_by_another_program()
    {
        QVERIFY(start_unit(3, {"--model", "QK2", "--delay", "200", "--trace"}));
        QProcess holder;
        holder.start(QUVEXCTL, {"--port", "3", "read"});
        QVERIFY(m_units[2]->await_heard("Genlock", 10000) >= 0);
        const Run run = quvexctl({"--port", "3", "backup", "--to", store()});
        const qint64 process = holder.processId();
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(QString::fromLocal8Bit(run.out),
                 QStringLiteral(
                     "3\tQK2,QVL\t%1 is in use by quvexctl (process %2). Close that program, or choose another port.\n")
                     .arg(m_home.filePath("units/unit3"))
                     .arg(process));
        QCOMPARE(run.exit_code, 2);
    }
};

QTEST_GUILESS_MAIN(TestQuvexctlBackup)
#include "tst_quvexctl_backup.moc"
