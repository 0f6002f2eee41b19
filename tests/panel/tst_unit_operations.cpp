// Reading and writing a whole unit, resetting it, and every operation's hold on the window.
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;
using test::Rig;
using P = panel::Panel;
using Action = void (P::*)();
using B = test::FakeUnit::Behaviour;
Q_DECLARE_METATYPE(Action)

class TestUnitOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_all_of_a_lite_unit_in_pal_overscan()
    {
        Rig rig("QVL");
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.unit.set_picture_value(0, 0, "OutH-Centre:", 100);
        rig.connect(1);

        rig.panel.read_unit_Click();

        QCOMPARE(rig.unit.sent_lines().join(u' '),
                 "Overscan ImageFreeze FlickerRed. VideoStd Overscan VideoStd=0 Overscan=0 OutH-Centre: OutH-Width: "
                 "OutV-Centre: OutV-Height: Overscan=1 OutH-Centre: OutH-Width: OutV-Centre: OutV-Height: VideoStd=1 "
                 "Overscan=0 OutH-Centre: OutH-Width: OutV-Centre: OutV-Height: Overscan=1 OutH-Centre: OutH-Width: "
                 "OutV-Centre: OutV-Height: VideoStd=1 Overscan=1 Zoom PanXPos: PanYPos: VGALeft: VGAWidth: VGATop/4: "
                 "VGABot/4: Buttons Clockwidth: DACRef. IDRestrict InfraRed RGBTerm. Sense Sound TotalLines "
                 "Vert.Freq VideoStd");
        // Each picture value lands on its own mode's line; headings fill the name column.
        QVERIFY(rig.view.lines.contains("NU\\Out H-Centre:  100") && rig.view.lines.contains("PO\\Out H-Centre:  508"));
        QVERIFY(rig.view.lines.contains("---Zoom-----------") && rig.view.lines.contains("---S/Size PAL O/scan"));
    }

    // A unit in PAL O/scan. A run that stops inside the picture groups gives the unit its own
    // mode back; a write to a closed port never starts.
    void run_stops_at_its_first_failure_data()
    {
        QTest::addColumn<Action>("run");
        QTest::addColumn<int>("port"); // 1: open, 0: closed after a read, -1: never opened
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QStringList>("messages");
        // "silent: <wire name>", "wrong type: <wire name>" (answers ?) or "stop: <line>" (in its exchange)
        QTest::addColumn<QString>("condition");
        const QString unable = "Unable to complete operation.",
                      closed = "Unit is dis-connected.  Nothing will be sent.";
        QTest::addRow("write all, unit of another type")
            << &P::write_unit_Click << 1 << "Overscan=1 ImageFreeze=0 FlickerRed.=3"
            << QStringList{test::kWrongType, test::kNoResponse, unable} << "wrong type: FlickerRed.";
        QTest::addRow("write all, closed after a read")
            << &P::write_unit_Click << 0 << "" << QStringList{"COM port closed.", closed} << "";
        QTest::addRow("write all, never opened") << &P::write_unit_Click << -1 << "" << QStringList{closed} << "";
        QTest::addRow("read all, in the picture groups")
            << &P::read_unit_Click << 1
            << "Overscan ImageFreeze FlickerRed. VideoStd Overscan VideoStd=0 Overscan=0 OutH-Centre: OutH-Width: "
               "VideoStd=1 Overscan=1"
            << QStringList{test::kNoResponse} << "silent: OutH-Width:";
        QTest::addRow("write all, in the picture groups")
            << &P::write_unit_Click << 1
            << "Overscan=1 ImageFreeze=0 FlickerRed.=3 VideoStd Overscan VideoStd=0 Overscan=0 OutH-Centre:=512 "
               "OutH-Width:=640 VideoStd=1 Overscan=1"
            << QStringList{test::kNoResponse, unable} << "silent: OutH-Width:";
        // The program is ending: the exchange in progress is the last but the restore.
        QTest::addRow("write all, stopped in the picture groups")
            << &P::write_unit_Click << 1
            << "Overscan=1 ImageFreeze=0 FlickerRed.=3 VideoStd Overscan VideoStd=0 Overscan=0 OutH-Centre:=512 "
               "OutH-Width:=640 VideoStd=1 Overscan=1"
            << QStringList{unable} << "stop: OutH-Width:=640";
    }

    void run_stops_at_its_first_failure()
    {
        QFETCH(Action, run);
        QFETCH(int, port);
        QFETCH(QString, condition);
        Rig rig("QVL");
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        if (port >= 0)
            rig.connect(1);
        if (port == 0)
            rig.panel.quvex_Click(0);
        const QString kind = condition.section(": ", 0, 0), name = condition.section(": ", 1);
        if (kind == "silent")
            rig.unit.silent_names = {name};
        else if (kind == "wrong type")
            rig.unit.unknown_names = {name};
        rig.operator_side.on_process_events = [&] {
            if (kind == "stop" && rig.unit.sent_lines().endsWith(name))
                rig.link.request_stop();
            rig.unit.step();
        };

        (rig.panel.*run)();

        QTEST(rig.unit.sent_lines().join(u' '), "wire");
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.unit.video_std() == 1 && rig.unit.overscan() == 1);
    }

    // A unit in NTSC U/scan whose Image Freeze is On but failed its read once, and whose values from
    // Zoom on were never read, nor one picture value: nothing is sent for them (Image Freeze is not
    // switched off), and the first of them still gives the unit its own mode back.
    void write_all_skips_values_not_known()
    {
        Rig rig("QVL");
        rig.unit.set_value("ImageFreeze", 1);
        rig.connect(1);
        rig.unit.script_next_answer({});
        rig.panel.menu_list_Click(rig.row_of("Image Freeze"));
        rig.catalogue.entry(rig.index_of("NO\\Out H-Width:")).value = {};
        for (int i = rig.index_of("Zoom"); i <= rig.catalogue.item_count(); ++i)
            rig.catalogue.entry(i).value = {};
        rig.unit.clear_sent();

        rig.panel.write_unit_Click();

        QCOMPARE(rig.unit.sent_lines().join(u' '),
                 "Overscan=0 FlickerRed.=3 VideoStd Overscan OutH-Centre:=512 OutH-Width:=640 "
                 "OutV-Centre:=256 OutV-Height:=480 Overscan=1 OutH-Centre:=500 OutV-Centre:=250 OutV-Height:=500 "
                 "VideoStd=1 Overscan=0 OutH-Centre:=520 OutH-Width:=720 OutV-Centre:=288 OutV-Height:=576 "
                 "Overscan=1 OutH-Centre:=508 OutH-Width:=760 OutV-Centre:=280 OutV-Height:=600 VideoStd=0 "
                 "Overscan=0");
    }

    // From its event to its end, message boxes included, nothing else may start: the window
    // stays locked, also after a failed exchange. Against a unit that stopped answering, one
    // action shows one warning and sends nothing after its first failure; the item it was
    // changing is unknown only when its own write went out.
    void each_operation_data()
    {
        QTest::addColumn<Action>("action"); // none: a click on Flicker Red.'s line
        QTest::addColumn<B>("unit");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("line"); // Flicker Red.'s line afterwards
        const QStringList none, warning{test::kNoResponse};
        const QString unknown = "Flicker Red.      ", kept = unknown + "3";
        QTest::addRow("read all") << &P::read_unit_Click << B::Answer << none << kept;
        QTest::addRow("read all, silent") << &P::read_unit_Click << B::Silent << warning << ""; // stopped before it
        QTest::addRow("write all") << &P::write_unit_Click << B::Answer << none << kept;
        QTest::addRow("reset") << &P::reset_unit_Click << B::Answer << QStringList{"Click OK when unit has reset."}
                               << kept;
        QTest::addRow("picture right") << &P::Command3_Click << B::Answer << none << kept;
        QTest::addRow("click on a line, silent") << Action{} << B::Silent << warning << unknown;
        QTest::addRow("plus, silent") << &P::inc_Click << B::Silent << warning << unknown;
        QTest::addRow("plus, unit of another type")
            << &P::inc_Click << B::AnswerUnknown << QStringList{test::kWrongType, test::kNoResponse} << unknown;
        QTest::addRow("minus, silent") << &P::dec_Click << B::Silent << warning << unknown;
        QTest::addRow("picture right, silent") << &P::Command3_Click << B::Silent << warning << kept;
        QTest::addRow("pan left, silent") << &P::Command11_Click << B::Silent << warning << kept;
        QTest::addRow("zoom on, silent") << &P::Command2_Click << B::Silent << warning << kept;
        QTest::addRow("underscan, silent") << &P::Command21_Click << B::Silent << warning << kept;
        QTest::addRow("store settings, silent") << &P::store_settings_Click << B::Silent << warning << kept;
    }

    void each_operation()
    {
        QFETCH(Action, action);
        QFETCH(B, unit);
        Rig rig("QVL");
        rig.unit.set_value("Overscan", 1);
        rig.connect(1);
        const int row = rig.row_of("Flicker Red.");
        rig.panel.menu_list_Click(row); // picked in the editor
        rig.unit.clear_sent();
        rig.operator_side.window_changes.clear();
        rig.unit.behaviour = unit;
        bool unlocked = false;
        rig.operator_side.on_process_events = [&] {
            unlocked |= rig.operator_side.window_enabled;
            rig.unit.step();
        };
        rig.operator_side.on_message = [&](const QString &) { unlocked |= rig.operator_side.window_enabled; };

        if (action)
            (rig.panel.*action)();
        else
            rig.panel.menu_list_Click(row);

        QVERIFY(!unlocked && !rig.link.state().bulk_mode);
        QCOMPARE(rig.operator_side.window_changes, QList<bool>({false, true}));
        QTEST(rig.operator_side.message_texts(), "messages");
        QTEST(rig.view.lines.value(row), "line");
        if (unit != B::Answer)
            QCOMPARE(rig.unit.sent_lines().size(), 1);
    }

    // The cable is pulled while the item or the restore waits, on a unit switched into NTSC
    // underscan: the restore sends nothing after its first failure. It is kept, and goes first at
    // the next access (still lost: kept again), unless another unit or none is chosen.
    void restore_lost_with_the_line_data()
    {
        QTest::addColumn<QString>("pulled"); // in the exchange of this line
        QTest::addColumn<QString>("then");   // "plug", "Flicker Red. 5", "model N", comma-separated
        QTest::addColumn<QString>("wire");   // the first lines they send
        QTest::addColumn<int>("warnings");   // of no response, they give
        QTest::addColumn<int>("video_std");  // the unit's afterwards
        const QString item = "OutH-Centre:=513", back = "plug, Flicker Red. 5";
        const QString restored = "VideoStd=1 Overscan=1 FlickerRed.=5", read = "Overscan ImageFreeze";
        QTest::addRow("the line back") << item << back << restored << 0 << 1;
        QTest::addRow("lost in the restore") << "VideoStd=1" << back << restored << 0 << 1;
        QTest::addRow("still lost, then back") << item << "Flicker Red. 5, " + back << restored << 1 << 1;
        QTest::addRow("the same model again") << item << "plug, model 1"
                                              << "VideoStd=1 Overscan=1 Overscan" << 0 << 1;
        QTest::addRow("another model") << item << "plug, model 2" << read << 0 << 0;
        QTest::addRow("Dis-connected") << item << "plug, model 0, model 1" << read << 0 << 0;
    }

    void restore_lost_with_the_line()
    {
        QFETCH(QString, pulled);
        QFETCH(QString, then);
        QFETCH(QString, wire);
        Rig rig("QVL");
        rig.connect(1);
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        bool lost = false;
        rig.operator_side.on_process_events = [&] {
            if (!lost && rig.unit.sent_lines().endsWith(pulled)) {
                lost = true;
                rig.unit.unplug();
            }
            rig.unit.step();
        };
        rig.panel.Command3_Click();
        QVERIFY(
            rig.unit.sent_lines().join(u' ').startsWith("VideoStd Overscan VideoStd=0 Overscan=0 OutH-Centre:=513"));
        // One for the restore, and one for the item when it was the one waiting.
        QCOMPARE(rig.operator_side.message_texts(), QStringList(pulled == "VideoStd=1" ? 1 : 2, test::kNoResponse));
        // A restore line lost while its answer was awaited may have been taken.
        QCOMPARE(rig.panel.unit_mode_left(),
                 QString(pulled == "VideoStd=1" ? "PAL underscan (Video Std 1, Overscan 0) or " : "")
                     .prepend("the unit may be left in ")
                     .append("NTSC underscan (Video Std 0, Overscan 0); its own video mode is PAL overscan "
                             "(Video Std 1, Overscan 1)"));

        rig.unit.clear_sent();
        rig.operator_side.messages.clear();
        for (const QString &step : then.split(", ")) {
            if (step == "plug")
                rig.unit.plug();
            else if (step.startsWith("model "))
                rig.panel.quvex_Click(step.back().digitValue());
            else
                rig.panel.set_named_item(step.chopped(2), step.back().digitValue());
        }
        QCOMPARE(rig.unit.sent_lines().mid(0, wire.count(' ') + 1).join(u' '), wire);
        QTEST(int(rig.operator_side.message_texts().count(test::kNoResponse)), "warnings");
        QTEST(rig.unit.video_std(), "video_std");
        QCOMPARE(rig.panel.unit_mode_left(), QString());
    }

    // Closed: nothing. Open: the operator is asked to wait after the command, and the unit is
    // read again after that.
    void reset()
    {
        Rig rig;
        rig.panel.reset_unit_Click();
        QVERIFY(rig.unit.sent().isEmpty() && rig.operator_side.messages.isEmpty());
        rig.connect(2);
        QStringList at_message;
        rig.operator_side.on_message = [&](const QString &) { at_message = rig.unit.sent_lines(); };
        rig.panel.reset_unit_Click();
        const QStringList sent = rig.unit.sent_lines();
        rig.unit.clear_sent();
        rig.panel.read_unit_Click();
        QCOMPARE(at_message, QStringList{"Reset=1"});
        QCOMPARE(sent, at_message + rig.unit.sent_lines());
    }
};

QTEST_GUILESS_MAIN(TestUnitOperations)
#include "tst_unit_operations.moc"
