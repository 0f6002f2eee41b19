// quvexctl as a child process against quvex-sim on a pseudo-terminal linked as COM 1, in a
// configuration folder of the test's own: real bytes, real timer, exact output and exit codes.
// Its port list runs in process, on serial ports the test makes up.
#include "cli/ports_command.h"
#include "ports/open_failure.h"
#include "quvexctl_run.h"
#include "support/ser2net_process.h"
#include "support/settings_bytes.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <unistd.h>

using namespace quvex;

namespace {

using test::quvexctl;
using test::Run;

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

    // The working folder, emptied, with the old backup kept.cfg in it.
    QDir backup_folder() const
    {
        QDir folder(m_home.filePath("work"));
        if (!folder.removeRecursively() || !folder.mkpath(".") || !QDir::setCurrent(folder.path()))
            qFatal("cannot make %s", qPrintable(folder.path()));
        write_file("kept.cfg", kQvmHeader);
        return folder;
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
        QTest::addColumn<QStringList>("output");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("lines"); // header and items
        QTest::addRow("QVM to standard output") << "QVM" << QStringList() << QByteArray("QUVEXview Max") << 60;
        QTest::addRow("QVM to -, standard output")
            << "QVM" << QStringList{"-o", "-"} << QByteArray("QUVEXview Max") << 60;
        QTest::addRow("QK1 to a file") << "QK1" << QStringList{"-o", "backup.cfg"} << QByteArray("QUVEXkey Solo") << 47;
    }

    // In PAL overscan, so that every picture set is read through the video-mode bracket.
    void backup()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, output);
        QFETCH(QByteArray, name);
        const auto sim = start_sim({"--model", code, "--no-pacing"});
        QCOMPARE(quvexctl({"set", "Video Std=1", "Overscan=1"}).out, "Video Std\t1\nOverscan\t1\n");
        const QDir folder = backup_folder();
        const Run run = quvexctl(QStringList{"read"} + output);
        QCOMPARE(run.exit_code, 0);
        QCOMPARE(run.err, QByteArray());
        const bool to_file = output.contains("backup.cfg");
        QCOMPARE(folder.entryList(QDir::Files).join(u' '), to_file ? "backup.cfg kept.cfg" : "kept.cfg");
        QCOMPARE(run.out.isEmpty(), to_file);
        const QByteArray bytes = to_file ? file_bytes("backup.cfg") : run.out;
        QVERIFY(bytes.startsWith(settings_header(name) + "\"Overscan          \",1\r\n"));
        QVERIFY(bytes.contains("\"PO\\Out H-Centre:  \",508\r\n\"PO\\Out H-Width:   \",760\r\n"));
        QTEST(int(bytes.count("\r\n")), "lines");
        QVERIFY(bytes.endsWith("\r\n"));
    }

    void failed_backup_writes_nothing_data()
    {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QString>("output"); // empty: standard output
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("err");
        const QStringList lost{"--drop", "20"};
        const QByteArray unread = kNoResponse + "quvexctl: the unit was not read to the end; nothing was written\n";
        QTest::addRow("a line lost part-way, to a file") << lost << "kept.cfg" << 2 << unread;
        QTest::addRow("a line lost part-way, to standard output") << lost << "" << 2 << unread;
        // The old file is held once the new one is open, and it cannot take the old one's place.
        QTest::addRow("the final rename fails") << QStringList{"--delay", "20", "--trace"} << "kept.cfg" << 3
                                                << QByteArray("quvexctl: cannot write kept.cfg\n");
    }

    // The old backup stays as it was, and alone in its folder.
    void failed_backup_writes_nothing()
    {
        QFETCH(QStringList, sim);
        QFETCH(QString, output);
        QFETCH(int, exit_code);
        const auto unit = start_sim(QStringList{"--model", "QVM", "--no-pacing"} + sim);
        const QDir folder = backup_folder();
        QProcess child;
        child.start(QUVEXCTL, output.isEmpty() ? QStringList{"read"} : QStringList{"read", "-o", output});
        std::optional<test::HeldFile> held;
        if (exit_code == 3) {
            QVERIFY(unit->await_heard({}, 10000) >= 0);
            held.emplace("kept.cfg");
        }
        QVERIFY(child.waitForFinished(20000));
        if (held && !held->held())
            QSKIP("the file system cannot keep a file from being replaced");
        held.reset();
        QCOMPARE(child.exitCode(), exit_code);
        QTEST(child.readAllStandardError(), "err");
        QCOMPARE(child.readAllStandardOutput(), QByteArray());
        QCOMPARE(folder.entryList(QDir::Files), QStringList{"kept.cfg"});
        QCOMPARE(file_bytes("kept.cfg"), kQvmHeader);
    }

    void stopped_data()
    {
        QTest::addColumn<QStringList>("sim"); // besides --model QVM --trace
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("signals_sent"); // each sent at its moment, as test::send_signals does
        QTest::addColumn<QString>("wire");             // heard from the first signal's moment on
        QTest::addColumn<QString>("ended");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QByteArray>("mode"); // the unit's afterwards
        // Each answer comes late, so that each signal arrives while its exchange waits.
        const QStringList late{"--delay", "200"};
        const QStringList set{"--model", "QVM", "set", "PO\\Out H-Centre:=301"};
        const QByteArray own = "Video Std\t0\nOverscan\t0\n", switched = "Video Std\t1\nOverscan\t1\n";
        // The restore's first line was sent, and may or may not have been taken.
        const QByteArray either = "quvexctl: the unit may be left in NTSC overscan (Video Std 0, Overscan 1) or PAL "
                                  "overscan (Video Std 1, Overscan 1); its own video mode is NTSC underscan (Video Std "
                                  "0, Overscan 0)\n";
        // The restore's first line meets a pulled adapter before its loss is noticed, or after.
        const QByteArray gone =
            "quvexctl: the unit may be left in PAL overscan (Video Std 1, Overscan 1); its own video "
            "mode is NTSC underscan (Video Std 0, Overscan 0)\n";
        QTest::addRow("SIGINT before the switch") << late << set << QStringList{"INT VideoStd"} << "VideoStd"
                                                  << "SIGINT" << QByteArray() << QByteArray() << own;
        QTest::addRow("SIGHUP between switch and item")
            << late << set << QStringList{"HUP VideoStd=1"} << "VideoStd=1 VideoStd=0"
            << "SIGHUP" << QByteArray() << QByteArray() << own;
        QTest::addRow("SIGTERM at the item, again in the restore")
            << late << set << QStringList{"TERM OutH-Centre:=301", "TERM +"} << "OutH-Centre:=301 VideoStd=0"
            << "SIGTERM" << QByteArray() << either << QByteArray("Video Std\t0\nOverscan\t1\n");
        QTest::addRow("read -o, SIGTERM in the picture groups")
            << late << QStringList{"--model", "QVM", "read", "-o", "kept.cfg"} << QStringList{"TERM Overscan=1"}
            << "Overscan=1 Overscan=0"
            << "SIGTERM" << QByteArray()
            << QByteArray("quvexctl: the unit was not read to the end; nothing was written\n") << own;
        const QString part = m_home.filePath("part.cfg");
        write_file(part, kQvmHeader + "\"Zoom\",1\r\n\"Flicker Red.\",5\r\n\"Pan X Pos:\",3\r\n");
        // The whole unit is read first: less late, so that it is read in time.
        QTest::addRow("write, SIGTERM at its second item")
            << QStringList{"--delay", "100"} << QStringList{"--model", "QVM", "write", part}
            << QStringList{"TERM FlickerRed.=5"} << "FlickerRed.=5"
            << "SIGTERM" << QByteArray()
            << "quvexctl: stopped at item 2 of the 3 items of " + part.toUtf8() + "; the items after it were not sent\n"
            << own;
        // Started by nohup, it is not stopped by a hang-up.
        QTest::addRow("nohup, SIGHUP between switch and item")
            << late << QStringList{"nohup", QUVEXCTL} + set << QStringList{"HUP VideoStd=1"}
            << "VideoStd=1 Overscan=1 OutH-Centre:=301 VideoStd=0 Overscan=0 VideoStd Overscan VideoStd=1 Overscan=1 "
               "OutH-Centre: VideoStd=0 Overscan=0"
            << "exit 0" << QByteArray("PO\\Out H-Centre:\t301\n") << QByteArray() << own;
        // Writing its warning fails, and the restore goes on all the same.
        QTest::addRow("standard error gone, the item unanswered")
            << QStringList{"--no-pacing", "--drop", "5"} << set << QStringList() << ""
            << "exit 2" << QByteArray("PO\\Out H-Centre:\t\n") << QByteArray("<gone>") << own;
        QTest::addRow("ports --probe, SIGTERM while it waits")
            << late << QStringList{QUVEXCTL, "ports", "--probe"} << QStringList{"TERM Genlock"} << "Genlock"
            << "SIGTERM" << QByteArray() << QByteArray() << own;
        // A unit that answered is there: the restore goes on and reads the mode back.
        QTest::addRow("restore answered with noise")
            << QStringList{"--no-pacing", "--garble", "VideoStd=0"} << set << QStringList() << ""
            << "exit 2" << QByteArray("PO\\Out H-Centre:\t\n") << kNoResponse << own;
        QTest::addRow("adapter pulled at the item")
            << QStringList{"--no-pacing", "--vanish-after", "5", "--vanish-for", "300"} << set << QStringList() << ""
            << "exit 2" << QByteArray("PO\\Out H-Centre:\t\n") << kNoResponse + either + '|' + kNoResponse + gone
            << switched;
    }

    // Only the restore of what the bracket switched follows a signal, the old backup stays as it
    // was, and alone in its folder, and no lock on the device stays behind.
    void stopped()
    {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, signals_sent);
        QFETCH(QByteArray, err);
        const auto unit = start_sim(sim + QStringList{"--model", "QVM", "--trace"});
        const QDir folder = backup_folder();
        QProcess child;
        // A program named first runs quvexctl.
        if (arguments.constFirst().startsWith(u'-'))
            arguments.prepend(QUVEXCTL);
        test::start_child(child, arguments.takeFirst(), arguments, err == "<gone>");
        const int from = test::send_signals(child, *unit, signals_sent);
        QVERIFY(child.waitForFinished(20000));
        QTEST(test::how_ended(child), "ended");
        QTEST(child.readAllStandardOutput(), "out");
        // Alternatives, where timing decides, are split by '|'.
        const QByteArray told = child.readAllStandardError();
        QVERIFY2((err == "<gone>" ? QByteArray() : err).split('|').contains(told), told.constData());
        if (!signals_sent.isEmpty()) {
            QVERIFY(from >= 0);
            QTEST(unit->heard(1000).mid(from).join(u' '), "wire");
        }
        QCOMPARE(folder.entryList(QDir::Files), QStringList{"kept.cfg"});
        QCOMPARE(file_bytes("kept.cfg"), kQvmHeader);
        QVERIFY(!sim.contains("--vanish-after") || unit->await_device(3000));
        QVERIFY(!QFile::exists(ports::serial_lock_path(unit->device_path())));
        QTEST(quvexctl({"--model", "QVM", "get", "Video Std", "Overscan"}).out, "mode");
    }

    void restore_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QByteArray>("file"); // the simulator holds other values at first
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("out");
        const QByteArray qvm =
            settings_header("QUVEXview Max") + "\"Zoom\",1\r\n\"PU\\Out V-Centre:\",300\r\n\"Sense\",\r\n";
        QTest::addRow("QVM") << "QVM" << QStringList() << qvm << 0 << QByteArray();
        QTest::addRow("QK1") << "QK1" << QStringList()
                             << settings_header("QUVEXkey Solo") + "\"Keyer\",0\r\n\"NO\\Out H-Width:\",700\r\n"
                             << 0 << QByteArray();
        QTest::addRow("QVMX, a measured item")
            << "QVMX" << QStringList()
            << settings_header("QUVEXview Max X") + "\"Total Lines\",600\r\n\"Pan X Pos:\",-4\r\n"
            << 1 << QByteArray("Total Lines\t600\t625\n");
        QTest::addRow("unit stops answering part-way")
            << "QVM" << QStringList{"--drop", "30"} << qvm << 2 << QByteArray();
        QTest::addRow("unit answers ?") << "QVM" << QStringList{"--answer-unknown"} << qvm << 2 << QByteArray();
    }

    // A diff afterwards, which reads the unit afresh, finds what the write's read-back found.
    void restore()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, fault);
        QFETCH(QByteArray, file);
        QFETCH(int, exit_code);
        const auto sim = start_sim(QStringList{"--model", code, "--no-pacing"} + fault);
        const QString path = m_home.filePath("restore.cfg");
        write_file(path, file);
        const Run run = quvexctl({"write", path});
        QCOMPARE(run.exit_code, exit_code);
        QTEST(run.out, "out");
        if (!fault.isEmpty())
            return;
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
        QCOMPARE(unit->heard(1000).filter("=").filter(QRegularExpression("^(?!VideoStd=|Overscan=)")), QStringList());
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
        // A tab in a name must not make a column of its own.
        const QByteArray no_items =
            "\"Flicker Red.\",5\r\n\"PO\\Out H-Centre:\",500\r\n\"flicker red.\",5\r\n\"Key\ter\",2\r\n";
        QTest::addRow("diff: byte-order mark")
            << diff << QByteArray("\"Flicker Red.\",3\r\n") << 0 << QByteArray() << QByteArray() << none;
        QTest::addRow("diff: no items")
            << diff << no_items << 1
            << QByteArray("Flicker Red.\t5\t3\nPO\\Out H-Centre:\t500\t508\nflicker red.\tnot an item of QVM\n"
                          "Key<09>er\tnot an item of QVM\n")
            << QByteArray() << none;
        QTest::addRow("diff --json: no items")
            << QStringList{"diff", "--json", "elsewhere.cfg"} << no_items << 1
            << QByteArray("{\"differences\":[{\"file\":5,\"name\":\"Flicker Red.\",\"unit\":3},"
                          "{\"file\":500,\"name\":\"PO\\\\Out H-Centre:\",\"unit\":508},"
                          "{\"name\":\"flicker red.\",\"not_an_item_of\":\"QVM\"},"
                          "{\"name\":\"Key\\ter\",\"not_an_item_of\":\"QVM\"}],\"model\":\"QVM\"}\n")
            << QByteArray() << none;
        QTest::addRow("write: no items") << write << no_items << 1 << QByteArray()
                                         << QByteArray(
                                                "quvexctl: QVM has no item \"flicker red.\"; its line was not sent\n"
                                                "quvexctl: QVM has no item \"Key<09>er\"; its line was not sent\n")
                                         << QStringList{"FlickerRed.=5", "OutH-Centre:=500"};
        const QByteArray damaged = "quvexctl: elsewhere.cfg is damaged at \"Zoom\"\n";
        QTest::addRow("write: 1e300") << write << QByteArray("\"Flicker Red.\",5\r\n\"Zoom\",1e300\r\n") << 3
                                      << QByteArray() << damaged << none;
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
        QTEST(sim->heard(1000).filter("=").filter(QRegularExpression("^(?!VideoStd=|Overscan=)")), "writes");
    }

    void set_and_get_a_mode_specific_item()
    {
        const auto sim = start_sim({"--model", "QVM", "--no-pacing", "--trace"});
        const Run set = quvexctl({"set", "PO\\Out H-Centre:=500"});
        QCOMPARE(set.exit_code, 0);
        QCOMPARE(set.out, "PO\\Out H-Centre:\t500\n");
        QCOMPARE(sim->heard(1000).join(u' '),
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
        for (const QStringList &change : QList<QStringList>{{"set", "Zoom=1"},
                                                            {"write", "kept.cfg"},
                                                            {"write", "--all", "kept.cfg"},
                                                            {"store"},
                                                            {"reset"},
                                                            {"restore"}})
            QTest::addRow("%s --read-only", qPrintable(change.join(u' ')))
                << QStringList{"--read-only"} + change
                << "quvexctl: " + change[0].toLatin1() + " changes the unit, which --read-only refuses (try --help)\n";
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
        // --read-only refuses before the port is opened: not even a read.
        QCOMPARE(sim->heard(1000).filter(arguments.contains("--read-only") ? "" : "="), QStringList());
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("out_holds");
        QTest::addColumn<QByteArray>("err");
        QTest::addRow("--help lists ports")
            << QStringList{"--help"} << 0
            << QByteArray("\n  ports [--probe]      list the serial ports, and with --probe the unit on each\n")
            << QByteArray();
        // One set of options may lead every command, before or after it.
        QTest::addRow("ports amid --port and --trace")
            << QStringList{"--port", "2", "ports", "--trace"} << 0 << QByteArray() << QByteArray();
        for (const char *device : {"tcp://", "tcp://rack3", "tcp://rack3:0", "tcp://[::1]:70000"}) {
            QTest::addRow("--device %s", device)
                << QStringList{"--device", device, "store"} << 3 << QByteArray()
                << "quvexctl: " + QByteArray(device)
                       + " is not a network address: give tcp://HOST:PORT with PORT 1 to 65535\n";
        }
        QTest::addRow("a command with an ESC") << QStringList{"de\x1Btect"} << 3 << QByteArray()
                                               << QByteArray("quvexctl: unknown command \"de<1B>tect\" (try --help)\n");
    }

    // Settled on the command line alone: no port is opened.
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, out_holds);
        const Run run = quvexctl(arguments);
        QTEST(run.exit_code, "exit_code");
        QVERIFY2(run.out.contains(out_holds), run.out.constData());
        QTEST(run.err, "err");
    }

    // Three units of different models, a silent one, one that answers nothing the way a unit
    // would, links to devices that are gone (one named with a tab and a line end), all at once;
    // a port the system reports comes last, without a number.
    void ports_probe()
    {
        std::vector<std::unique_ptr<test::SimProcess>> sims;
        const QList<QStringList> units{
            {"--model", "QVL"}, {"--model", "QK1"}, {"--model", "QVMK"}, {"--silent"}, {"--answer-unknown"}};
        for (const QStringList &unit : units)
            sims.push_back(test::start_sim(unit + QStringList{"--com", QString::number(sims.size() + 1)}));
        const QString gone = m_home.filePath("gone");
        QVERIFY(QFile::link(gone, m_home.filePath("quvex/ports/com6")));
        QVERIFY(QFile::link(m_home.filePath("tab\there\n8\tforged"), m_home.filePath("quvex/ports/com7")));
        const QString missing = " does not exist: the adapter is not plugged in, or the port number names another "
                                "port.\t\n";
        // The names operators gave: a tab or a line end in one must not make a column or a row.
        rack::UnitNames names;
        QVERIFY(names.set_name(sims[0]->device_path(), "Studio A genlock") && names.set_name(gone, "Rack\t2\nB"));
        const QString expected = "1\t%1\t\tQVL\tStudio A genlock\n2\t%2\t\tQK1\t\n3\t%3\t\tQVMK\t\n"
                                 "4\t%4\t\tno answer\t\n5\t%5\t\tanswers, but not as a QUVEX unit\t\n6\t%6\t\t%6"
                                 + missing.chopped(2) + "\tRack<09>2<LF>B\n7\t%7\t\t%7" + missing
                                 + "-\t/dev/ttyQX0\tFTDI FT232R USB UART A10K\t/dev/ttyQX0" + missing;
        const ports::SystemPorts system = [] {
            return QList<ports::SystemPort>{{"/dev/ttyQX0", "FT232R USB UART", "FTDI", "A10K"}};
        };
        const QByteArray out = cli::ports_report(system, true, false, names);
        QFile::remove(m_home.filePath("quvex/ports/com6"));
        QFile::remove(m_home.filePath("quvex/ports/com7"));
        QCOMPARE(QString::fromUtf8(out),
                 expected.arg(sims[0]->device_path(), sims[1]->device_path(), sims[2]->device_path(),
                              sims[3]->device_path(), sims[4]->device_path(), gone,
                              m_home.filePath("tab<09>here<LF>8<09>forged")));
        QVERIFY(cli::ports_report(system, false, true, names)
                    .startsWith(
                        QStringLiteral("{\"ports\":[{\"description\":\"\",\"device\":\"%1\",\"name\":\"Studio A "
                                       "genlock\",\"number\":1},{\"description\":\"\",\"device\":\"%2\",\"name\":null,")
                            .arg(sims[0]->device_path(), sims[1]->device_path())
                            .toUtf8()));
    }

    void open_failure_reasons_data()
    {
        QTest::addColumn<QString>("holder"); // what keeps the port from being opened
        QTest::addColumn<QString>("reason"); // %1: the device as named, %2: the first quvexctl
        QTest::addRow("not in the device's group")
            << "group"
            << "You may not open %1: it belongs to the group dialout, which you are not in. Add yourself to "
               "it (sudo usermod -aG dialout nobody), then log out and in again.";
        // The first goes by COM 1, the second by a link of its own: two names of one device.
        const QString in_use = "%1 is in use by quvexctl (process %2). Close that program, or choose another port.";
        QTest::addRow("held by a second quvexctl, as root") << "quvexctl" << in_use;
        QTest::addRow("held by a second quvexctl, as a user") << "quvexctl as a user" << in_use;
    }

    // The reason stands under the message on standard error, whatever the command, and nothing
    // reaches the unit.
    void open_failure_reasons()
    {
        QFETCH(QString, holder);
        QFETCH(QString, reason);
        // A slow unit: the first quvexctl still reads it when the second one starts.
        const auto sim = start_sim({"--model", "QVM", "--delay", "200", "--trace"});
        QString device = sim->device_path();
        QStringList user;
        if (holder != "quvexctl") {
            if (::geteuid() != 0)
                QSKIP("only root can drop to a user");
            user = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups"};
        }
        QProcess first;
        if (holder == "group") {
            QVERIFY(QProcess::execute("chown", {":dialout", device}) == 0
                    && QFile::setPermissions(device, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                         | QFile::WriteGroup));
        } else {
            const QFile::Permissions all = QFile::ReadOther | QFile::WriteOther | QFile::ExeOther | QFile::ReadOwner
                                           | QFile::WriteOwner | QFile::ExeOwner;
            QVERIFY(QFile::setPermissions(device, all) && QFile::setPermissions(m_home.path(), all));
            first.start("setpriv", (user.isEmpty() ? QStringList{"--"} : user) + QStringList{QUVEXCTL, "read"});
            QVERIFY(sim->await_heard("Genlock", 10000) >= 0);
            reason = reason.arg("%1", QString::number(first.processId()));
            device = m_home.filePath("unit");
            QVERIFY(QFile::link(sim->device_path(), device));
        }
        const Run run = quvexctl(user + QStringList{"--device", device, "store"});
        first.terminate();
        first.waitForFinished();
        QFile::remove(m_home.filePath("unit"));
        QCOMPARE(run.exit_code, 2);
        QCOMPARE(QString::fromLocal8Bit(run.err), "Could not open COM port - please check COM port number.\n"
                                                      + reason.arg(device) + "\nquvexctl: could not open " + device
                                                      + '\n');
        QCOMPARE(sim->heard(1000).filter("Store"), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestQuvexctl)
#include "tst_quvexctl.moc"
