// Reading and writing a whole unit, and resetting it, as the unit sees them on the wire.
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;
using test::Rig;
using P = panel::Panel;
using Action = void (P::*)();
Q_DECLARE_METATYPE(Action)

class TestUnitOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_all_of_a_lite_unit_in_pal_overscan()
    {
        Rig rig;
        for (const auto &[name, value] : {std::pair{"VideoStd", 1}, {"Overscan", 1}, {"Zoom", 1}})
            rig.unit.set_value(name, value);
        rig.unit.set_picture_value(0, 0, "OutH-Centre:", 100);
        rig.unit.set_picture_value(1, 1, "OutH-Centre:", 512);
        rig.connect(1);

        rig.panel.read_unit_Click();

        QCOMPARE(
            rig.unit.sent_lines(),
            QStringList({"Overscan",     "ImageFreeze",  "FlickerRed.",  "VideoStd",     "Overscan",     "VideoStd=0",
                         "Overscan=0",   "OutH-Centre:", "OutH-Width:",  "OutV-Centre:", "OutV-Height:", "Overscan=1",
                         "OutH-Centre:", "OutH-Width:",  "OutV-Centre:", "OutV-Height:", "VideoStd=1",   "Overscan=0",
                         "OutH-Centre:", "OutH-Width:",  "OutV-Centre:", "OutV-Height:", "Overscan=1",   "OutH-Centre:",
                         "OutH-Width:",  "OutV-Centre:", "OutV-Height:", "VideoStd=1",   "Overscan=1",   "Zoom",
                         "PanXPos:",     "PanYPos:",     "VGALeft:",     "VGAWidth:",    "VGATop/4:",    "VGABot/4:",
                         "Buttons",      "Clockwidth:",  "DACRef.",      "IDRestrict",   "InfraRed",     "RGBTerm.",
                         "Sense",        "Sound",        "TotalLines",   "Vert.Freq",    "VideoStd"}));
        // Each picture value lands on its own mode's line.
        QVERIFY(rig.view.lines.contains("NU\\Out H-Centre:  100") && rig.view.lines.contains("PO\\Out H-Centre:  512"));
    }

    void read_all_stops_at_a_silent_unit()
    {
        Rig rig;
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.panel.quvex_Click(1);
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        QCOMPARE(rig.unit.sent_lines(), QStringList{"Overscan"});
        QVERIFY(rig.operator_side.window_enabled);
    }

    void write_all_stops_at_the_first_failure_data()
    {
        QTest::addColumn<int>("port"); // 1: open, 0: closed after a read, -1: never opened
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("wire");
        QTest::addRow("unit of another type")
            << 1 << QStringList{"Wrong QUVEX type selected.", test::kNoResponse, "Unable to complete operation."}
            << QStringList{"Overscan=1", "ImageFreeze=3", "FlickerRed.=4"};
        QTest::addRow("port closed") << 0 << QStringList{"Unit is dis-connected.  Nothing will be sent."}
                                     << QStringList{};
        QTest::addRow("port never opened, nothing ever read")
            << -1 << QStringList{"Unit is dis-connected.  Nothing will be sent."} << QStringList{};
    }

    void write_all_stops_at_the_first_failure()
    {
        QFETCH(int, port);
        Rig rig;
        for (const auto &[name, value] : {std::pair{"Overscan", 1}, {"ImageFreeze", 3}, {"FlickerRed.", 4}})
            rig.unit.set_value(name, value);
        if (port >= 0)
            rig.connect(1);
        if (port == 0)
            rig.panel.quvex_Click(0);
        rig.unit.unknown_names = {"FlickerRed."};
        rig.operator_side.messages.clear();

        rig.panel.write_unit_Click();

        QTEST(rig.operator_side.message_texts(), "messages");
        QTEST(rig.unit.sent_lines(), "wire");
        QVERIFY(rig.operator_side.window_enabled);
    }

    // Image Freeze is On and its read fails once: writing all must not switch it off.
    void failed_read_leaves_the_value_unknown_and_unwritten()
    {
        Rig rig;
        rig.unit.set_value("ImageFreeze", 1);
        rig.connect(1);
        rig.unit.script_next_answer({});
        rig.panel.menu_list_Click(rig.row_of("Image Freeze"));
        QCOMPARE(rig.view.lines.value(1), "Image Freeze      ");
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        rig.unit.clear_sent();

        rig.panel.write_unit_Click();

        QCOMPARE(rig.unit.sent_lines().mid(0, 3), QStringList({"Overscan=0", "FlickerRed.=0", "VideoStd"}));
        QCOMPARE(rig.unit.value("ImageFreeze"), 1.0);
    }

    void run_stopped_inside_the_picture_groups_gives_the_unit_its_mode_back_data()
    {
        QTest::addColumn<Action>("run");
        QTest::addColumn<QStringList>("tail");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("read all") << &P::read_unit_Click << QStringList{"OutH-Width:", "VideoStd=1", "Overscan=1"}
                                  << QStringList{test::kNoResponse};
        QTest::addRow("write all") << &P::write_unit_Click << QStringList{"OutH-Width:=0", "VideoStd=1", "Overscan=1"}
                                   << QStringList{test::kNoResponse, "Unable to complete operation."};
    }

    void run_stopped_inside_the_picture_groups_gives_the_unit_its_mode_back()
    {
        QFETCH(Action, run);
        QFETCH(QStringList, tail);
        Rig rig;
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.connect(1);
        rig.unit.silent_names = {"OutH-Width:"};

        (rig.panel.*run)();

        QCOMPARE(rig.unit.sent_lines().mid(rig.unit.sent_lines().size() - tail.size()), tail);
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.unit.video_std() == 1 && rig.unit.overscan() == 1);
    }

    // From its event to its end, message boxes included, nothing else may start: the window
    // stays locked, also after a failed exchange, and only the end unlocks it.
    void every_operation_keeps_the_window_locked_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("silent");
        QTest::addRow("read all") << &P::read_unit_Click << false;
        QTest::addRow("read all, unit silent") << &P::read_unit_Click << true;
        QTest::addRow("write all") << &P::write_unit_Click << false;
        QTest::addRow("reset") << &P::reset_unit_Click << false;
        QTest::addRow("store settings") << &P::store_settings_Click << false;
        QTest::addRow("store settings, unit silent") << &P::store_settings_Click << true;
        QTest::addRow("VGA store") << &P::vga_store_Click << false;
        QTest::addRow("auto set") << &P::Command24_Click << false;
        QTest::addRow("plus, unit silent") << &P::inc_Click << true;
        QTest::addRow("picture right") << &P::Command3_Click << false;
    }

    void every_operation_keeps_the_window_locked()
    {
        QFETCH(Action, action);
        QFETCH(bool, silent);
        Rig rig;
        rig.connect(2);
        rig.panel.menu_list_Click(rig.row_of("Flicker Red."));
        rig.operator_side.window_changes.clear();
        if (silent)
            rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        int turns = 0;
        bool unlocked = false;
        rig.operator_side.on_process_events = [&] {
            ++turns;
            unlocked |= rig.operator_side.window_enabled;
            rig.unit.step();
        };
        rig.operator_side.on_message = [&](const QString &) { unlocked |= rig.operator_side.window_enabled; };

        (rig.panel.*action)();

        QVERIFY(turns > 0 && !unlocked);
        QCOMPARE(rig.operator_side.window_changes, QList<bool>({false, true}));
        QVERIFY(!rig.link.state().bulk_mode);
    }

    // One operator action against a unit that stopped answering shows one warning, not one per
    // exchange; the item it was changing is unknown when its own write went out.
    void one_action_against_a_silent_unit_warns_once_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("unknown"); // answers "?" instead of nothing
        QTest::addColumn<QString>("line"); // the line of the item the action was changing
        const QString flicker = "Flicker Red.      10";
        QTest::addRow("click on a line") << Action{} << false << "Flicker Red.      ";
        QTest::addRow("plus") << &P::inc_Click << false << "Flicker Red.      ";
        QTest::addRow("plus, unit of another type") << &P::inc_Click << true << "Flicker Red.      ";
        QTest::addRow("minus") << &P::dec_Click << false << "Flicker Red.      ";
        QTest::addRow("picture right") << &P::Command3_Click << false << flicker;
        QTest::addRow("pan left") << &P::Command11_Click << false << flicker;
        QTest::addRow("zoom on") << &P::Command2_Click << false << flicker;
        QTest::addRow("underscan") << &P::Command21_Click << false << flicker;
        QTest::addRow("auto set") << &P::Command24_Click << false << flicker;
        QTest::addRow("store settings") << &P::store_settings_Click << false << flicker;
        QTest::addRow("VGA store") << &P::vga_store_Click << false << flicker;
    }

    void one_action_against_a_silent_unit_warns_once()
    {
        QFETCH(Action, action);
        QFETCH(bool, unknown);
        Rig rig;
        rig.unit.set_value("FlickerRed.", 10);
        rig.unit.set_value("Overscan", 1);
        rig.connect(1);
        const int row = rig.row_of("Flicker Red.");
        rig.panel.menu_list_Click(row);
        rig.unit.behaviour = unknown ? test::FakeUnit::Behaviour::AnswerUnknown : test::FakeUnit::Behaviour::Silent;
        rig.unit.clear_sent();

        if (!action)
            rig.panel.menu_list_Click(row);
        else
            (rig.panel.*action)();

        QCOMPARE(rig.unit.sent_lines().size(), 1);
        const QStringList warnings =
            unknown ? QStringList{test::kWrongType, test::kNoResponse} : QStringList{test::kNoResponse};
        QCOMPARE(rig.operator_side.message_texts(), warnings);
        QTEST(rig.view.lines.at(row), "line");
    }

    // The cable is pulled just as the item goes out to a unit switched into NTSC underscan:
    // the restore tries once, and sends nothing after its first failure.
    void restore_stops_at_its_first_failure()
    {
        Rig rig;
        rig.connect(1);
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.operator_side.on_process_events = [&] {
            if (rig.unit.sent_lines().contains("OutH-Centre:=1"))
                rig.unit.unplug();
            rig.unit.step();
        };
        rig.panel.Command3_Click();
        QCOMPARE(rig.unit.sent_lines(),
                 QStringList({"VideoStd", "Overscan", "VideoStd=0", "Overscan=0", "OutH-Centre:=1"}));
        QCOMPARE(rig.operator_side.message_texts(), (QStringList{test::kNoResponse, test::kNoResponse}));
    }

    void write_all_skips_values_never_read()
    {
        // A unit in NTSC U/scan whose values from Zoom on were never read, nor one picture value.
        Rig rig;
        rig.connect(1);
        rig.catalogue.entry(rig.index_of("NO\\Out H-Width:")).value = {};
        for (int i = rig.index_of("Zoom"); i <= rig.catalogue.item_count(); ++i)
            rig.catalogue.entry(i).value = {};

        rig.panel.write_unit_Click();

        QCOMPARE(rig.unit.sent_lines(),
                 QStringList({"Overscan=0",     "ImageFreeze=0",  "FlickerRed.=0",  "VideoStd",       "Overscan",
                              "OutH-Centre:=0", "OutH-Width:=0",  "OutV-Centre:=0", "OutV-Height:=0", "Overscan=1",
                              "OutH-Centre:=0", "OutV-Centre:=0", "OutV-Height:=0", "VideoStd=1",     "Overscan=0",
                              "OutH-Centre:=0", "OutH-Width:=0",  "OutV-Centre:=0", "OutV-Height:=0", "Overscan=1",
                              "OutH-Centre:=0", "OutH-Width:=0",  "OutV-Centre:=0", "OutV-Height:=0", "VideoStd=0",
                              "Overscan=0"}));
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
        QCOMPARE(rig.operator_side.message_texts(), QStringList{"Click OK when unit has reset."});
        QCOMPARE(wire_at_message, QStringList{"Reset=1"});
        const QStringList sent = rig.unit.sent_lines();
        rig.unit.clear_sent();
        rig.panel.read_unit_Click();
        QCOMPARE(sent, QStringList{"Reset=1"} + rig.unit.sent_lines());
    }
};

QTEST_GUILESS_MAIN(TestUnitOperations)
#include "tst_unit_operations.moc"
