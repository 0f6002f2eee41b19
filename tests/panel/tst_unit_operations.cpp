// Reading and writing a whole unit, and resetting it, as the unit sees them on the wire.
#include "rig_helpers.h"

#include <QTest>

using namespace quvex;
using test::connect_unit;
using test::Rig;

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
        connect_unit(rig, 1);

        rig.panel.read_unit_Click();

        QCOMPARE(rig.unit.sent_lines(), QStringList({
            "Overscan", "ImageFreeze", "FlickerRed.", "VideoStd", "Overscan",
            "VideoStd=0", "Overscan=0", "OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:",
            "Overscan=1", "OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:",
            "VideoStd=1", "Overscan=0", "OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:",
            "Overscan=1", "OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:",
            "VideoStd=1", "Overscan=1", "Zoom", "PanXPos:", "PanYPos:", "VGALeft:", "VGAWidth:", "VGATop/4:",
            "VGABot/4:", "Buttons", "Clockwidth:", "DACRef.", "IDRestrict", "InfraRed", "RGBTerm.", "Sense", "Sound",
            "TotalLines", "Vert.Freq", "VideoStd"}));
        // Each picture value lands on its own mode's line.
        QVERIFY(rig.view.lines.contains("NU\\Out H-Centre:  100") && rig.view.lines.contains("PO\\Out H-Centre:  512"));
    }

    void read_all_stops_at_a_silent_unit()
    {
        Rig rig;
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.panel.quvex_Click(1);
        QCOMPARE(rig.operator_side.message_texts(), QStringList{link::Link::kNoResponseText});
        QCOMPARE(rig.unit.sent_lines(), QStringList{"Overscan"});
        QVERIFY(rig.operator_side.window_enabled);
    }

    void write_all_stops_at_the_first_failure_data()
    {
        QTest::addColumn<bool>("port_closed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("wire");
        QTest::addRow("unit of another type")
            << false << QStringList{"Wrong QUVEX type selected.", link::Link::kNoResponseText,
                                    "Unable to complete operation."}
            << QStringList{"Overscan=1", "ImageFreeze=3", "FlickerRed.=4"};
        QTest::addRow("port closed") << true << QStringList{"Unit is dis-connected.  Nothing will be sent."}
                                     << QStringList{};
    }

    void write_all_stops_at_the_first_failure()
    {
        QFETCH(bool, port_closed);
        Rig rig;
        for (const auto &[name, value] : {std::pair{"Overscan", 1}, {"ImageFreeze", 3}, {"FlickerRed.", 4}})
            rig.unit.set_value(name, value);
        connect_unit(rig, 1);
        if (port_closed)
            rig.panel.quvex_Click(0);
        rig.unit.unknown_names = {"FlickerRed."};
        rig.operator_side.messages.clear();

        rig.panel.write_unit_Click();

        QTEST(rig.operator_side.message_texts(), "messages");
        QTEST(rig.unit.sent_lines(), "wire");
        QVERIFY(rig.operator_side.window_enabled);
    }

    void write_all_skips_values_never_read()
    {
        // A unit in NTSC U/scan whose values from Zoom on were never read, nor one picture value.
        Rig rig;
        connect_unit(rig, 1);
        rig.catalogue.entry(rig.index_of("NO\\Out H-Width:")).value = {};
        for (int i = rig.index_of("Zoom"); i <= rig.catalogue.item_count(); ++i)
            rig.catalogue.entry(i).value = {};

        rig.panel.write_unit_Click();

        QCOMPARE(rig.unit.sent_lines(), QStringList({
            "Overscan=0", "ImageFreeze=0", "FlickerRed.=0", "VideoStd", "Overscan",
            "OutH-Centre:=0", "OutH-Width:=0", "OutV-Centre:=0", "OutV-Height:=0",
            "Overscan=1", "OutH-Centre:=0", "OutV-Centre:=0", "OutV-Height:=0",
            "VideoStd=1", "Overscan=0", "OutH-Centre:=0", "OutH-Width:=0", "OutV-Centre:=0", "OutV-Height:=0",
            "Overscan=1", "OutH-Centre:=0", "OutH-Width:=0", "OutV-Centre:=0", "OutV-Height:=0",
            "VideoStd=0", "Overscan=0"}));
    }

    void reset()
    {
        Rig rig;
        rig.panel.reset_unit_Click();
        QVERIFY(rig.unit.sent().isEmpty() && rig.operator_side.messages.isEmpty());

        // Open: the operator is asked to wait after the command, and the unit is read again after that.
        connect_unit(rig, 2);
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
