#include "catalogue/naming.h"
#include "link/wire_log.h"
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/serial_rig.h"
#include "support/sim_process.h"

#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quvex;
using namespace Qt::StringLiterals;

// The panel's core over the real QSerialPort, through a pseudo-terminal, against quvex-sim
// running as its own process and linked as COM 1: real bytes, real timer, real waiting.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    static std::unique_ptr<test::SimProcess> start_sim(const QString &code, QStringList extra = {})
    {
        return test::start_sim(
            QStringList{QStringLiteral("--model"), code, QStringLiteral("--com"), QStringLiteral("1")} + extra);
    }

    static double stored(test::SerialRig &rig, const QString &name)
    {
        return rig.catalogue.entry(catalogue::find_item(rig.catalogue, rig.model, name)).value.number();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
    }

    // Paced at 9600 baud, as a real unit: an edit, a picture button in PAL overscan, write all.
    void edits_reach_the_unit_and_come_back()
    {
        const auto sim = start_sim(QStringLiteral("QVM"));
        test::SerialRig rig;
        rig.panel.quvex_Click(2);

        rig.panel.menu_list_Click(rig.view.lines.indexOf(QStringLiteral("Flicker Red.      3")));
        rig.panel.inc_Click();
        QCOMPARE(stored(rig, QStringLiteral("Flicker Red.")), 5.0);
        QCOMPARE(rig.view.value_text, QStringLiteral("5"));

        rig.panel.set_named_item(QStringLiteral("Video Std"), 1);
        rig.panel.Command22_Click();
        rig.panel.Command3_Click();
        QCOMPARE(rig.view.caption, QStringLiteral("PO\\Out H-Centre:"));
        QCOMPARE(stored(rig, QStringLiteral("PO\\Out H-Centre:")), 509.0);
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Video Std"))->number(), 1.0);
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Overscan"))->number(), 1.0);

        rig.catalogue.entry(catalogue::find_item(rig.catalogue, rig.model, QStringLiteral("Pan X Pos:"))).value = 7;
        rig.panel.write_unit_Click();
        rig.panel.read_unit_Click();
        QCOMPARE(stored(rig, QStringLiteral("Pan X Pos:")), 7.0);
        QCOMPARE(stored(rig, QStringLiteral("NU\\Out H-Centre:")), 512.0);
        QCOMPARE(stored(rig, QStringLiteral("PO\\Out H-Centre:")), 509.0);
        QVERIFY2(rig.operator_side.messages.isEmpty(), qPrintable(rig.operator_side.message_texts().join(u'|')));
    }

    void save_then_load_into_a_fresh_unit()
    {
        const QString path = m_home.filePath(QStringLiteral("quvex.cfg"));
        {
            const auto sim = start_sim(QStringLiteral("QK1"), {QStringLiteral("--no-pacing")});
            test::SerialRig rig;
            rig.panel.quvex_Click(5);
            rig.panel.set_named_item(QStringLiteral("Keyer"), 3);
            rig.panel.set_named_item(QStringLiteral("PU\\Out V-Centre:"), 300);
            rig.settings_file(path).filesave_Click();
            QVERIFY(rig.operator_side.messages.isEmpty());
        }
        const auto sim = start_sim(QStringLiteral("QK1"), {QStringLiteral("--no-pacing")});
        test::SerialRig rig;
        rig.settings_file(path).fileopen_Click();
        QCOMPARE(rig.model.code(), QStringLiteral("QK1"));
        rig.panel.read_unit_Click();
        QCOMPARE(stored(rig, QStringLiteral("Keyer")), 3.0);
        QCOMPARE(stored(rig, QStringLiteral("PU\\Out V-Centre:")), 300.0);
        QCOMPARE(stored(rig, QStringLiteral("NU\\Out V-Centre:")), 256.0);
        QVERIFY(rig.operator_side.messages.isEmpty());
    }

    // A stray byte before an acknowledgement is a failed write: the read stops there with the
    // warning, and the panel stays usable.
    void noisy_unit_stops_a_read_with_a_warning()
    {
        const auto sim = start_sim(QStringLiteral("QVM"), {QStringLiteral("--no-pacing"), QStringLiteral("--noise")});
        test::SerialRig rig;
        rig.panel.quvex_Click(2);
        const QStringList messages = rig.operator_side.message_texts();
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages, QStringList(messages.size(), test::kNoResponse));
        QVERIFY(rig.link.state().no_response_error);
        QVERIFY(rig.operator_side.window_enabled);
        QVERIFY(rig.view.lines.size() < 65);
    }

    // A unit that keeps sending while nobody asks (a wrong baud rate, a looping unit) must not
    // fill the panel's memory, and what it sent meanwhile must not answer the next line.
    void chatter_while_idle_stays_bounded()
    {
        const auto sim = start_sim(QStringLiteral("QVM"), {QStringLiteral("--chatter")});
        test::SerialRig rig;
        rig.link.open_port();
        QTest::qWait(1500); // about 1440 bytes at 960 bytes/s
        QVERIFY2(rig.port.bytes_waiting() <= 512, qPrintable(QString::number(rig.port.bytes_waiting())));
        // What waited is dropped before the line goes out. A letter the unit sent just before it
        // heard the line can still arrive after the drop, as it would from a real unit.
        QString answer;
        link::WireLog log([&answer](const QString &line) {
            if (line.contains(u"  answer  "_s))
                answer = line.section(u"  "_s, -1);
        });
        rig.link.set_wire_observer(&log);
        rig.link.query_item_value(QStringLiteral("Flicker Red."));
        // Letters sent after the answer may come in the same burst.
        QVERIFY2(QRegularExpression(u"^[A-Za-z]{0,4}3<CR><LF>[A-Za-z]*$"_s).match(answer).hasMatch(),
                 qPrintable(answer));
    }

    // The adapter is pulled right after the item's answer, inside the video-mode bracket, and
    // plugged back: the restore it lost goes first at the next action, and the unit has its own
    // mode again, without reconnecting by hand. The wire log tells the loss and the return.
    void restore_lost_with_the_adapter_goes_first_when_it_is_back()
    {
        const auto sim =
            start_sim(QStringLiteral("QVM"), {"--no-pacing", "--trace", "--vanish-after", "5", "--vanish-for", "300"});
        test::SerialRig rig;
        QStringList events;
        link::WireLog log([&events](const QString &line) { events.append(line.section(u"  "_s, -1)); });
        rig.link.set_wire_observer(&log);
        rig.link.open_port();
        rig.model.select(2);
        rig.panel.set_named_item(QStringLiteral("PO\\Out H-Centre:"), 301);
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        QVERIFY2(sim->await_device(3000), qPrintable(sim->error()));

        rig.panel.set_named_item(QStringLiteral("Flicker Red."), 5);
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        // The line sent as the adapter went may or may not have been heard before it went.
        const QString heard = sim->heard(1000).join(u' ');
        QVERIFY2(heard.startsWith("VideoStd Overscan VideoStd=1 Overscan=1 OutH-Centre:=301 ")
                     && heard.endsWith(" VideoStd=0 Overscan=0 FlickerRed.=5 FlickerRed."),
                 qPrintable(heard));
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Video Std"))->number(), 0.0);
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Overscan"))->number(), 0.0);
        QCOMPARE(stored(rig, QStringLiteral("Flicker Red.")), 5.0);
        QCOMPARE(events.filter(QRegularExpression(u"^line "_s)), (QStringList{u"line lost"_s, u"line opened again"_s}));
    }

    // The unit vanishes in the middle of a save: warnings, no crash, and the old file stays.
    void vanishing_unit_leaves_the_old_settings_file()
    {
        const QString path = m_home.filePath(QStringLiteral("kept.cfg"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n");
        old.close();

        auto sim = start_sim(QStringLiteral("QVM"), {QStringLiteral("--no-pacing")});
        test::SerialRig rig;
        rig.panel.quvex_Click(2);
        int turns = 0;
        rig.operator_side.on_process_events = [&] {
            if (++turns == 40)
                sim->stop();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        };
        rig.settings_file(path).filesave_Click();
        // Inside the video-mode bracket every exchange still runs, so each may warn once.
        QStringList messages = rig.operator_side.message_texts();
        QCOMPARE(messages.takeLast(), QStringLiteral("Unable to complete Save."));
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages, QStringList(messages.size(), test::kNoResponse));
        QVERIFY(rig.operator_side.window_enabled);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n"));

        rig.panel.inc_Click();
        QVERIFY(rig.link.is_port_open());
        rig.panel.quvex_Click(0);
        QCOMPARE(rig.operator_side.message_texts().last(), QStringLiteral("COM port closed."));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_end_to_end.moc"
