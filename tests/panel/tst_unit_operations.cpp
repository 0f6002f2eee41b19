// Reading and writing a whole unit, resetting it, and every operation's hold on the window, as
// the unit sees them on the wire.
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;
using test::Rig;
using P = panel::Panel;
using Action = void (P::*)();
Q_DECLARE_METATYPE(Action)

namespace {

const QString kFlickerLine = "Flicker Red.      ";

// A QUVEXview Lite at its factory values, with Flicker Red. picked in the editor.
void connect_lite(Rig &rig)
{
    rig.connect(1);
    rig.panel.menu_list_Click(rig.row_of("Flicker Red."));
    rig.unit.clear_sent();
    rig.operator_side.window_changes.clear();
}

} // namespace

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

    void write_all_stops_at_the_first_failure_data()
    {
        QTest::addColumn<int>("port"); // 1: open, 0: closed after a read, -1: never opened
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("wire");
        QTest::addRow("unit of another type")
            << 1 << QStringList{test::kWrongType, test::kNoResponse, "Unable to complete operation."}
            << "Overscan=1 ImageFreeze=1 FlickerRed.=4";
        QTest::addRow("port closed") << 0 << QStringList{"Unit is dis-connected.  Nothing will be sent."} << "";
        QTest::addRow("port never opened, nothing ever read")
            << -1 << QStringList{"Unit is dis-connected.  Nothing will be sent."} << "";
    }

    void write_all_stops_at_the_first_failure()
    {
        QFETCH(int, port);
        Rig rig("QVL");
        for (const auto &[name, value] : {std::pair{"Overscan", 1}, {"ImageFreeze", 1}, {"FlickerRed.", 4}})
            rig.unit.set_value(name, value);
        if (port >= 0)
            rig.connect(1);
        if (port == 0)
            rig.panel.quvex_Click(0);
        rig.unit.unknown_names = {"FlickerRed."};
        rig.operator_side.messages.clear();

        rig.panel.write_unit_Click();

        QTEST(rig.operator_side.message_texts(), "messages");
        QTEST(rig.unit.sent_lines().join(u' '), "wire");
        QVERIFY(rig.operator_side.window_enabled);
    }

    // A unit in NTSC U/scan whose values from Zoom on were never read, nor one picture value:
    // nothing is sent for them, and the first of them still gives the unit its own mode back.
    void write_all_skips_values_not_known()
    {
        Rig rig("QVL");
        rig.connect(1);
        rig.catalogue.entry(rig.index_of("NO\\Out H-Width:")).value = {};
        for (int i = rig.index_of("Zoom"); i <= rig.catalogue.item_count(); ++i)
            rig.catalogue.entry(i).value = {};

        rig.panel.write_unit_Click();

        QCOMPARE(rig.unit.sent_lines().join(u' '),
                 "Overscan=0 ImageFreeze=0 FlickerRed.=3 VideoStd Overscan OutH-Centre:=512 OutH-Width:=640 "
                 "OutV-Centre:=256 OutV-Height:=480 Overscan=1 OutH-Centre:=500 OutV-Centre:=250 OutV-Height:=500 "
                 "VideoStd=1 Overscan=0 OutH-Centre:=520 OutH-Width:=720 OutV-Centre:=288 OutV-Height:=576 "
                 "Overscan=1 OutH-Centre:=508 OutH-Width:=760 OutV-Centre:=280 OutV-Height:=600 VideoStd=0 "
                 "Overscan=0");
    }

    // Image Freeze is On and its read fails once: writing all must not switch it off.
    void failed_read_leaves_the_value_unknown_and_unwritten()
    {
        Rig rig("QVL");
        rig.unit.set_value("ImageFreeze", 1);
        rig.connect(1);
        rig.unit.script_next_answer({});
        rig.panel.menu_list_Click(rig.row_of("Image Freeze"));
        QCOMPARE(rig.view.lines.value(1), "Image Freeze      ");
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        rig.unit.clear_sent();

        rig.panel.write_unit_Click();

        QCOMPARE(rig.unit.sent_lines().mid(0, 3), QStringList({"Overscan=0", "FlickerRed.=3", "VideoStd"}));
        QCOMPARE(rig.unit.value("ImageFreeze"), 1.0);
    }

    void run_stopped_inside_the_picture_groups_gives_the_unit_its_mode_back_data()
    {
        QTest::addColumn<Action>("run");
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("read all") << &P::read_unit_Click << "OutH-Width: VideoStd=1 Overscan=1"
                                  << QStringList{test::kNoResponse};
        QTest::addRow("write all") << &P::write_unit_Click << "OutH-Width:=640 VideoStd=1 Overscan=1"
                                   << QStringList{test::kNoResponse, "Unable to complete operation."};
    }

    void run_stopped_inside_the_picture_groups_gives_the_unit_its_mode_back()
    {
        QFETCH(Action, run);
        QFETCH(QString, tail);
        Rig rig("QVL");
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.connect(1);
        rig.unit.silent_names = {"OutH-Width:"};

        (rig.panel.*run)();

        QVERIFY2(rig.unit.sent_lines().join(u' ').endsWith(tail), qPrintable(rig.unit.sent_lines().join(u' ')));
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.unit.video_std() == 1 && rig.unit.overscan() == 1);
    }

    // From its event to its end, message boxes included, nothing else may start: the window
    // stays locked, also after a failed exchange. Against a unit that stopped answering, one
    // action shows one warning and sends nothing after its first failure; the item it was
    // changing is unknown only when its own write went out.
    void each_operation_data()
    {
        QTest::addColumn<Action>("action"); // none: a click on Flicker Red.'s line
        QTest::addColumn<QString>("unit");  // "answers", "silent" or "unknown" (answers "?")
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("line"); // Flicker Red.'s line afterwards
        const QStringList none, warning{test::kNoResponse};
        const QString kept = kFlickerLine + "3", unknown = kFlickerLine;
        QTest::addRow("read all") << &P::read_unit_Click << "answers" << none << kept;
        QTest::addRow("read all, silent") << &P::read_unit_Click << "silent" << warning << ""; // stopped before it
        QTest::addRow("write all") << &P::write_unit_Click << "answers" << none << kept;
        QTest::addRow("reset") << &P::reset_unit_Click << "answers" << QStringList{"Click OK when unit has reset."}
                               << kept;
        QTest::addRow("picture right") << &P::Command3_Click << "answers" << none << kept;
        QTest::addRow("click on a line, silent") << Action{} << "silent" << warning << unknown;
        QTest::addRow("plus, silent") << &P::inc_Click << "silent" << warning << unknown;
        QTest::addRow("plus, unit of another type")
            << &P::inc_Click << "unknown" << QStringList{test::kWrongType, test::kNoResponse} << unknown;
        QTest::addRow("minus, silent") << &P::dec_Click << "silent" << warning << unknown;
        QTest::addRow("picture right, silent") << &P::Command3_Click << "silent" << warning << kept;
        QTest::addRow("pan left, silent") << &P::Command11_Click << "silent" << warning << kept;
        QTest::addRow("zoom on, silent") << &P::Command2_Click << "silent" << warning << kept;
        QTest::addRow("underscan, silent") << &P::Command21_Click << "silent" << warning << kept;
        QTest::addRow("auto set, silent") << &P::Command24_Click << "silent" << warning << kept;
        QTest::addRow("store settings, silent") << &P::store_settings_Click << "silent" << warning << kept;
        QTest::addRow("VGA store, silent") << &P::vga_store_Click << "silent" << warning << kept;
    }

    void each_operation()
    {
        QFETCH(Action, action);
        QFETCH(QString, unit);
        Rig rig("QVL");
        rig.unit.set_value("Overscan", 1);
        connect_lite(rig);
        const int row = rig.row_of("Flicker Red.");
        if (unit != "answers")
            rig.unit.behaviour =
                unit == "silent" ? test::FakeUnit::Behaviour::Silent : test::FakeUnit::Behaviour::AnswerUnknown;
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

        QVERIFY(!unlocked);
        QCOMPARE(rig.operator_side.window_changes, QList<bool>({false, true}));
        QVERIFY(!rig.link.state().bulk_mode);
        QTEST(rig.operator_side.message_texts(), "messages");
        QTEST(rig.view.lines.value(row), "line");
        if (unit != "answers")
            QCOMPARE(rig.unit.sent_lines().size(), 1);
    }

    // The cable is pulled just as the item goes out to a unit switched into NTSC underscan:
    // the restore tries once, and sends nothing after its first failure.
    void restore_stops_at_its_first_failure()
    {
        Rig rig("QVL");
        rig.connect(1);
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.operator_side.on_process_events = [&] {
            if (rig.unit.sent_lines().contains("OutH-Centre:=513"))
                rig.unit.unplug();
            rig.unit.step();
        };
        rig.panel.Command3_Click();
        QCOMPARE(rig.unit.sent_lines().join(u' '), "VideoStd Overscan VideoStd=0 Overscan=0 OutH-Centre:=513");
        QCOMPARE(rig.operator_side.message_texts(), (QStringList{test::kNoResponse, test::kNoResponse}));
    }

    void reset()
    {
        Rig rig;
        rig.panel.reset_unit_Click();
        QVERIFY(rig.unit.sent().isEmpty() && rig.operator_side.messages.isEmpty());

        // Open: the operator is asked to wait after the command, and the unit is read again after that.
        rig.connect(2);
        QStringList wire_at_message;
        rig.operator_side.on_message = [&](const QString &) { wire_at_message = rig.unit.sent_lines(); };
        rig.panel.reset_unit_Click();
        QCOMPARE(wire_at_message, QStringList{"Reset=1"});
        const QStringList sent = rig.unit.sent_lines();
        rig.unit.clear_sent();
        rig.panel.read_unit_Click();
        QCOMPARE(sent, QStringList{"Reset=1"} + rig.unit.sent_lines());
    }
};

QTEST_GUILESS_MAIN(TestUnitOperations)
#include "tst_unit_operations.moc"
