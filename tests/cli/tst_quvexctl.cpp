// quvexctl as a child process against quvex-sim on a pseudo-terminal linked as COM 1, in a
// configuration folder of the test's own: real bytes, real timer, exact output and exit codes.
#include "support/ser2net_process.h"
#include "support/settings_bytes.h"
#include "support/sim_process.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace quvex;

namespace {

struct Run
{
    int exit_code = -1;
    QByteArray out;
    QByteArray err;
};

// Run as another user with `setpriv` when the arguments begin with its options.
Run quvexctl(const QStringList &arguments)
{
    QProcess process;
    const qsizetype own = arguments.indexOf(QStringLiteral("--clear-groups")) + 1;
    if (own > 0)
        process.start(QStringLiteral("setpriv"),
                      arguments.mid(0, own) + QStringList{QStringLiteral(QUVEXCTL)} + arguments.mid(own));
    else
        process.start(QStringLiteral(QUVEXCTL), arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

using test::file_bytes;
using test::settings_header;
using test::write_file;

const QByteArray kQvmHeader = settings_header("QUVEXview Max");
const QByteArray kNoResponse =
    "QUVEX unit not responding.\nPlease check cables,\n that BaudRate=23\n and that RS232 = Control.\n";

} // namespace

class TestQuvexctl : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    // Linked as COM 1, which quvexctl uses when no port is given.
    static std::unique_ptr<test::SimProcess> start_sim(const QStringList &arguments)
    {
        return test::start_sim(arguments + QStringList{"--com", "1"});
    }

    // The lines the simulator heard so far, as its --trace logged them.
    static QStringList heard(test::SimProcess &sim)
    {
        sim.process().setReadChannel(QProcess::StandardError);
        sim.process().waitForReadyRead(1000);
        static const QRegularExpression kReceived(QStringLiteral(" rx (.*)$"), QRegularExpression::MultilineOption);
        QStringList lines;
        for (auto it = kReceived.globalMatch(QString::fromLatin1(sim.process().readAllStandardError())); it.hasNext();)
            lines.append(it.next().captured(1));
        return lines;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // Inherited by the simulators and quvexctl.
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
    }

    void detect_data()
    {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QStringList detect{"detect"};
        QTest::addRow("QVM") << QStringList{"--model", "QVM"} << detect << 0 << QByteArray("QVM\tQUVEXview Max\n")
                             << QByteArray();
        QTest::addRow("QVMK, JSON") << QStringList{"--model", "QVMK"} << QStringList{"detect", "--json"} << 0
                                    << QByteArray("{\"model\":\"QVMK\",\"name\":\"QUVEXview Max XK\"}\n")
                                    << QByteArray();
        QTest::addRow("QK2") << QStringList{"--model", "QK2"} << detect << 0
                             << QByteArray("QK2\tQUVEXkey Solo PCI/ISA\n") << QByteArray();
        QTest::addRow("answers ? to everything") << QStringList{"--answer-unknown"} << detect << 2 << QByteArray()
                                                 << QByteArray("quvexctl: the unit's answers fit no QUVEX model\n");
    }

    void detect()
    {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, arguments);
        const auto unit = start_sim(sim + QStringList{"--no-pacing"});
        const Run run = quvexctl(arguments);
        QTEST(run.exit_code, "exit_code");
        QTEST(run.out, "out");
        QTEST(run.err, "err");
    }

    // A unit behind ser2net, named on the command line: the same answer as on a serial line.
    void detect_through_a_device_server()
    {
        const auto sim = test::start_sim({"--model", "QVMK", "--no-pacing"});
        test::Ser2netProcess server(sim->device_path());
        QVERIFY2(server.start(), qPrintable(server.error()));
        const Run run = quvexctl({"detect", "--device", server.target()});
        QCOMPARE(run.out, QByteArray("QVMK\tQUVEXview Max XK\n"));
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exit_code, 0);
    }

    void backup_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("to_file");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("lines"); // header and items
        QTest::addRow("QVM to standard output") << "QVM" << false << QByteArray("QUVEXview Max") << 60;
        QTest::addRow("QK1 to a file") << "QK1" << true << QByteArray("QUVEXkey Solo") << 47;
    }

    // In PAL overscan, so that every picture set is read through the video-mode bracket.
    void backup()
    {
        QFETCH(QString, code);
        QFETCH(bool, to_file);
        QFETCH(QByteArray, name);
        const auto sim = start_sim({"--model", code, "--no-pacing"});
        QCOMPARE(quvexctl({"set", "Video Std=1", "Overscan=1"}).out, "Video Std\t1\nOverscan\t1\n");
        const QString backup = m_home.filePath("backup.cfg");
        const Run run = quvexctl(to_file ? QStringList{"read", "-o", backup} : QStringList{"read"});
        QCOMPARE(run.exit_code, 0);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out.isEmpty(), to_file);
        const QByteArray bytes = to_file ? file_bytes(backup) : run.out;
        QVERIFY(bytes.startsWith(settings_header(name) + "\"Overscan          \",1\r\n"));
        QVERIFY(bytes.contains("\"PO\\Out H-Centre:  \",508\r\n\"PO\\Out H-Width:   \",760\r\n"));
        QTEST(int(bytes.count("\r\n")), "lines");
        QVERIFY(bytes.endsWith("\r\n"));
    }

    // A read that a lost line stops part-way writes nothing at all, and keeps the old backup.
    void failed_backup_writes_nothing()
    {
        const auto sim = start_sim({"--model", "QVM", "--no-pacing", "--drop", "20"});
        const QString backup = m_home.filePath("kept.cfg");
        write_file(backup, kQvmHeader);
        const Run to_file = quvexctl({"read", "-o", backup});
        const Run to_out = quvexctl({"read"});
        QCOMPARE(to_file.exit_code, 2);
        QCOMPARE(to_out.exit_code, 2);
        QCOMPARE(to_out.out, QByteArray());
        QCOMPARE(to_out.err, kNoResponse + "quvexctl: the unit was not read to the end; nothing was written\n");
        QCOMPARE(file_bytes(backup), kQvmHeader);
    }

    void restore_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("file"); // the simulator holds other values at first
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("out");
        QTest::addRow("QVM") << "QVM"
                             << settings_header("QUVEXview Max")
                                    + "\"Zoom\",1\r\n\"PU\\Out V-Centre:\",300\r\n\"Sense\",\r\n"
                             << 0 << QByteArray();
        QTest::addRow("QK1") << "QK1"
                             << settings_header("QUVEXkey Solo") + "\"Keyer\",0\r\n\"NO\\Out H-Width:\",700\r\n"
                             << 0 << QByteArray();
        QTest::addRow("QVMX, a measured item")
            << "QVMX" << settings_header("QUVEXview Max X") + "\"Total Lines\",600\r\n\"Pan X Pos:\",-4\r\n"
            << 1 << QByteArray("Total Lines\t600\t625\n");
    }

    // A diff afterwards, which reads the unit afresh, finds what the write's read-back found.
    void restore()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, file);
        const auto sim = start_sim({"--model", code, "--no-pacing"});
        const QString path = m_home.filePath("restore.cfg");
        write_file(path, file);
        const Run run = quvexctl({"write", path});
        QTEST(run.exit_code, "exit_code");
        QTEST(run.out, "out");
        QCOMPARE(run.err, QByteArray());
        const Run diff = quvexctl({"diff", path});
        QVERIFY(diff.exit_code == run.exit_code && diff.out == run.out);
    }

    void diff_data()
    {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QStringList qvm{"--model", "QVM", "--no-pacing"};
        const QByteArray same = "\"Flicker Red.\",3\r\n\"PO\\Out H-Centre:\",508\r\n\"Sense\",\r\n";
        QTest::addRow("same") << qvm << same << 0 << QByteArray() << QByteArray();
        QTest::addRow("file of another model")
            << QStringList{"--model", "QK1", "--no-pacing"} << same << 2 << QByteArray()
            << QByteArray("quvexctl: file is for QVM, unit is QK1\n");
        QTest::addRow("unit silent") << QStringList{"--silent"} << same << 2 << QByteArray() << kNoResponse;
    }

    void diff()
    {
        QFETCH(QStringList, sim);
        QFETCH(QByteArray, items);
        const auto unit = start_sim(sim + QStringList{"--trace"});
        const QString path = m_home.filePath("diff.cfg");
        write_file(path, kQvmHeader + items);
        const Run run = quvexctl({"diff", path});
        QTEST(run.exit_code, "exit_code");
        QTEST(run.out, "out");
        QTEST(run.err, "err");
        QCOMPARE(heard(*unit).filter("=").filter(QRegularExpression("^(?!VideoStd=|Overscan=)")), QStringList());
    }

    void wire_on_standard_error_data()
    {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("err"); // each line's time left out
        QTest::addRow("traced") << QStringList{"--no-pacing"}
                                << QStringList{"--trace", "--model", "QVM", "set", "Zoom=1"} << 0
                                << QByteArray("sent    Zoom=1<CR>\nanswer  >\nsent    Zoom<CR>\nanswer  1<CR><LF>\n");
        const QByteArray hint = "Bytes arrived that are not text: is the unit set to 9600 baud (BaudRate=23)?\n";
        QTest::addRow("wrong baud rate") << QStringList{"--wrong-baud", "1200"} << QStringList{"detect"} << 2
                                         << hint + "quvexctl: the unit's answers fit no QUVEX model\n";
        QTest::addRow("wrong baud rate, traced")
            << QStringList{"--wrong-baud", "1200"} << QStringList{"--trace", "--model", "QVM", "get", "Zoom"} << 0
            << "sent    Zoom<CR>\nanswer  <00><00><80><80><00><00><80><00>\ntime-out after 0.6 s\n" + hint + hint;
    }

    void wire_on_standard_error()
    {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, arguments);
        const auto unit = start_sim(sim);
        const Run run = quvexctl(arguments);
        QTEST(run.exit_code, "exit_code");
        QTEST(QString::fromLatin1(run.err)
                  .remove(QRegularExpression("^ *\\d+ ms  ", QRegularExpression::MultilineOption))
                  .toLatin1(),
              "err");
    }

    // Files from other hands: an editor's byte-order mark, differences beside lines that name no
    // item of the model (another letter case, another model's item), values the wire would not
    // carry exactly.
    void files_from_elsewhere_data()
    {
        QTest::addColumn<QStringList>("arguments"); // the file is elsewhere.cfg
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QStringList>("writes"); // heard, the video mode's aside
        const QStringList diff{"diff", "elsewhere.cfg"}, write{"write", "elsewhere.cfg"}, none;
        const QByteArray no_items =
            "\"Flicker Red.\",5\r\n\"PO\\Out H-Centre:\",500\r\n\"flicker red.\",5\r\n\"Keyer\",2\r\n";
        QTest::addRow("diff: byte-order mark")
            << diff << QByteArray("\"Flicker Red.\",3\r\n") << 0 << QByteArray() << QByteArray() << none;
        QTest::addRow("diff: no items")
            << diff << no_items << 1
            << QByteArray("Flicker Red.\t5\t3\nPO\\Out H-Centre:\t500\t508\nflicker red.\tnot an item of QVM\n"
                          "Keyer\tnot an item of QVM\n")
            << QByteArray() << none;
        QTest::addRow("diff --json: no items")
            << QStringList{"diff", "--json", "elsewhere.cfg"} << no_items << 1
            << QByteArray("{\"differences\":[{\"file\":5,\"name\":\"Flicker Red.\",\"unit\":3},"
                          "{\"file\":500,\"name\":\"PO\\\\Out H-Centre:\",\"unit\":508},"
                          "{\"name\":\"flicker red.\",\"not_an_item_of\":\"QVM\"},"
                          "{\"name\":\"Keyer\",\"not_an_item_of\":\"QVM\"}],\"model\":\"QVM\"}\n")
            << QByteArray() << none;
        QTest::addRow("write: no items") << write << no_items << 1 << QByteArray()
                                         << QByteArray(
                                                "quvexctl: QVM has no item \"flicker red.\"; its line was not sent\n"
                                                "quvexctl: QVM has no item \"Keyer\"; its line was not sent\n")
                                         << QStringList{"FlickerRed.=5", "OutH-Centre:=500"};
        const QByteArray damaged = "quvexctl: elsewhere.cfg is damaged at \"Zoom\"\n";
        QTest::addRow("write: not a number")
            << write << QByteArray("\"Flicker Red.\",5\r\n\"Zoom\",on\r\n") << 3 << QByteArray() << damaged << none;
        QTest::addRow("write: 1e300") << write << QByteArray("\"Flicker Red.\",5\r\n\"Zoom\",1e300\r\n") << 3
                                      << QByteArray() << damaged << none;
        QTest::addRow("write: 16 significant digits")
            << write << QByteArray("\"Flicker Red.\",5\r\n\"Zoom\",1.000000000000001\r\n") << 3 << QByteArray()
            << damaged << none;
    }

    void files_from_elsewhere()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, items);
        const auto sim = start_sim({"--model", "QVM", "--no-pacing", "--trace"});
        QVERIFY(QDir::setCurrent(m_home.path()));
        const QByteArray mark = QByteArray(QTest::currentDataTag()).contains("mark") ? "\xEF\xBB\xBF" : "";
        write_file("elsewhere.cfg", mark + kQvmHeader + items);
        const Run run = quvexctl(arguments);
        QTEST(run.exit_code, "exit_code");
        QTEST(run.out, "out");
        QTEST(run.err, "err");
        QTEST(heard(*sim).filter("=").filter(QRegularExpression("^(?!VideoStd=|Overscan=)")), "writes");
    }

    void set_and_get_a_mode_specific_item()
    {
        const auto sim = start_sim({"--model", "QVM", "--no-pacing", "--trace"});
        const Run set = quvexctl({"set", "PO\\Out H-Centre:=500"});
        QCOMPARE(set.exit_code, 0);
        QCOMPARE(set.out, "PO\\Out H-Centre:\t500\n");
        QCOMPARE(heard(*sim).join(u' '),
                 "Genlock Buttons Keyer Clockwidth: "
                 "VideoStd Overscan VideoStd=1 Overscan=1 OutH-Centre:=500 VideoStd=0 Overscan=0 "
                 "VideoStd Overscan VideoStd=1 Overscan=1 OutH-Centre: VideoStd=0 Overscan=0");
        const Run get = quvexctl({"--model", "QVM", "get", "--json", "Video Std", "Overscan", "PO\\OutH-Centre:"});
        QCOMPARE(get.exit_code, 0);
        QCOMPARE(get.out, "{\"items\":[{\"name\":\"Video Std\",\"value\":0},{\"name\":\"Overscan\",\"value\":0},"
                          "{\"name\":\"PO\\\\Out H-Centre:\",\"value\":500}]}\n");
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("err");
        QTest::addRow("unknown name") << QStringList{"get", "Keyer"}
                                      << QByteArray("quvexctl: QVM has no item \"Keyer\"\n");
        QTest::addRow("a heading") << QStringList{"get", ">Zoom"}
                                   << QByteArray("quvexctl: \">Zoom\" is a heading, not an item\n");
        QTest::addRow("no decimal value")
            << QStringList{"set", "Zoom=on"}
            << QByteArray("quvexctl: \"Zoom=on\" is no NAME=VALUE with a decimal VALUE\n");
        QTest::addRow("a value too large to send exactly")
            << QStringList{"set", "Flicker Red.=99999999999999999999"}
            << QByteArray("quvexctl: \"Flicker Red.=99999999999999999999\" cannot be sent exactly: a VALUE must be "
                          "less than 1e15 in magnitude, with at most 15 significant digits\n");
    }

    // Refused with exit code 3 before anything is sent to the unit.
    void refusals()
    {
        QFETCH(QStringList, arguments);
        const auto sim = start_sim({"--model", "QVM", "--no-pacing", "--trace"});
        const Run run = quvexctl(arguments);
        QCOMPARE(run.exit_code, 3);
        QCOMPARE(run.out, QByteArray());
        QTEST(run.err, "err");
        QCOMPARE(heard(*sim).filter("="), QStringList());
    }

    // Three units of different models, a silent one, one that answers nothing the way a unit
    // would, and a link to a device that is gone, all probed at once.
    void ports_probe()
    {
        std::vector<std::unique_ptr<test::SimProcess>> sims;
        const QList<QStringList> units{
            {"--model", "QVL"}, {"--model", "QK1"}, {"--model", "QVMK"}, {"--silent"}, {"--answer-unknown"}};
        for (const QStringList &unit : units)
            sims.push_back(test::start_sim(unit + QStringList{"--com", QString::number(sims.size() + 1)}));
        const QString gone = m_home.filePath("gone");
        QVERIFY(QFile::link(gone, m_home.filePath("quvex/ports/com6")));
        const QString expected = "1\t%1\t\tQVL\n2\t%2\t\tQK1\n3\t%3\t\tQVMK\n4\t%4\t\tno answer\n"
                                 "5\t%5\t\tanswers, but not as a QUVEX unit\n"
                                 "6\t%6\t\t%6 does not exist: the adapter is not plugged in, or the port number "
                                 "names another port.\n";
        const Run run = quvexctl({"ports", "--probe"});
        QFile::remove(m_home.filePath("quvex/ports/com6"));
        QCOMPARE(run.exit_code, 0);
        QCOMPARE(run.err, QByteArray());
        // Lines of the ports the system has besides the test's own come last, without a number.
        const QString listed = QString::fromUtf8(run.out).section(QRegularExpression("\n(?=-\t)"), 0, 0);
        QCOMPARE(listed.endsWith('\n') ? listed : listed + '\n',
                 expected.arg(sims[0]->device_path(), sims[1]->device_path(), sims[2]->device_path(),
                              sims[3]->device_path(), sims[4]->device_path(), gone));
        QVERIFY(quvexctl({"ports", "--json"})
                    .out.startsWith(QStringLiteral("{\"ports\":[{\"description\":\"\",\"device\":\"%1\",\"number\":1},")
                                        .arg(sims[0]->device_path())
                                        .toUtf8()));
    }

    void open_failure_reasons_data()
    {
        QTest::addColumn<QString>("holder"); // what keeps the port from being opened
        QTest::addColumn<QString>("reason"); // %1: the device
        QTest::addRow("a missing device") << "missing"
                                          << "%1 does not exist: the adapter is not plugged in, or the port number "
                                             "names another port.";
        QTest::addRow("not in the device's group")
            << "group"
            << "You may not open %1: it belongs to the group dialout, which you are not in. Add yourself to "
               "it (sudo usermod -aG dialout nobody), then log out and in again.";
        QTest::addRow("held by a second quvexctl")
            << "quvexctl"
            << "%1 is in use by quvexctl (process %2). Close that program, or choose another port.";
    }

    // The reason stands under the message on standard error, whatever the command.
    void open_failure_reasons()
    {
        QFETCH(QString, holder);
        QFETCH(QString, reason);
        // A slow unit: the first quvexctl still reads it when the second one starts.
        const auto sim = start_sim({"--model", "QVM", "--delay", "200", "--trace"});
        QString device = sim->device_path();
        QStringList user;
        QProcess first;
        if (holder == "missing") {
            device = m_home.filePath("gone");
        } else if (holder == "group") {
            if (::geteuid() != 0)
                QSKIP("only root can give the port to a group and drop to a user outside it");
            QVERIFY(QProcess::execute("chown", {":dialout", device}) == 0
                    && QFile::setPermissions(device, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                         | QFile::WriteGroup));
            user = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups"};
        } else {
            first.start(QUVEXCTL, {"read"});
            QStringList lines;
            QTRY_VERIFY_WITH_TIMEOUT((lines += heard(*sim)).contains("Genlock"), 10000);
            reason = reason.arg("%1", QString::number(first.processId()));
        }
        const Run run = quvexctl(user + QStringList{"--device", device, "store"});
        first.kill();
        first.waitForFinished();
        QCOMPARE(run.exit_code, 2);
        QCOMPARE(QString::fromLocal8Bit(run.err), "Could not open COM port - please check COM port number.\n"
                                                      + reason.arg(device) + "\nquvexctl: could not open " + device
                                                      + '\n');
    }
};

QTEST_GUILESS_MAIN(TestQuvexctl)
#include "tst_quvexctl.moc"
