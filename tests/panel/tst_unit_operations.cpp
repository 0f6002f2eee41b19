// Reading and writing a whole unit, and the unit commands, as the unit sees them on the wire.
#include "rig_helpers.h"

#include <QTest>

using namespace quvex;
using test::connect_unit;
using test::Rig;
using test::wire_bytes;

class TestUnitOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_all_of_a_lite_unit_in_pal_overscan()
    {
        Rig rig;
        for (const auto &[name, value] : {std::pair{"VideoStd", 1}, {"Overscan", 1}, {"PanXPos:", 5}, {"Zoom", 1}})
            rig.unit.set_value(name, value);
        rig.unit.set_picture_value(0, 0, "OutH-Centre:", 100);
        rig.unit.set_picture_value(1, 1, "OutH-Centre:", 512);
        connect_unit(rig, 1);

        rig.panel.read_unit_Click();

        const QStringList picture = {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"};
        QStringList expected = {"Overscan", "ImageFreeze", "FlickerRed.", "VideoStd", "Overscan", "VideoStd=0"};
        expected << "Overscan=0" << picture << "Overscan=1" << picture << "VideoStd=1" << "Overscan=0" << picture
                 << "Overscan=1" << picture << "VideoStd=1" << "Overscan=1" << "Zoom" << "PanXPos:" << "PanYPos:"
                 << "VGALeft:" << "VGAWidth:" << "VGATop/4:" << "VGABot/4:" << "Buttons" << "Clockwidth:" << "DACRef."
                 << "IDRestrict" << "InfraRed" << "RGBTerm." << "Sense" << "Sound" << "TotalLines" << "Vert.Freq"
                 << "VideoStd";
        QCOMPARE(rig.unit.sent_lines(), expected);
        QCOMPARE(rig.unit.sent(), wire_bytes(expected));
        QVERIFY(rig.unit.video_std() == 1 && rig.unit.overscan() == 1);

        const QStringList &lines = rig.view.lines;
        QCOMPARE(lines.size(), 44);
        QCOMPARE(lines.first(), "Overscan          1 (On)");
        QCOMPARE(lines.mid(3, 2), QStringList({"---S/Size NTSC U/scan", "NU\\Out H-Centre:  100"}));
        QCOMPARE(lines.mid(lines.indexOf("---S/Size PAL O/scan") + 1, 1), QStringList{"PO\\Out H-Centre:  512"});
        QVERIFY(lines.contains("---Zoom-----------"));
        QVERIFY(lines.contains("Pan X Pos:" + QString(8, u' ') + "5"));
        QVERIFY(lines.contains("Zoom" + QString(14, u' ') + "1 (On)"));
        QCOMPARE(lines.last(), "Video Std" + QString(9, u' ') + "1");
        QVERIFY(rig.operator_side.messages.isEmpty());
    }

    void read_all_stops_when_the_unit_is_silent()
    {
        Rig rig;
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.panel.quvex_Click(1);

        QCOMPARE(rig.operator_side.messages.size(), 1);
        const test::FakeOperator::Message &message = rig.operator_side.messages.first();
        QCOMPARE(message.text, link::Link::kNoResponseText);
        QCOMPARE(message.title, "Error");
        QVERIFY(message.icon == link::MessageIcon::Exclamation);
        QCOMPARE(rig.unit.sent_lines(), QStringList{"Overscan"});
        QCOMPARE(rig.view.lines, QStringList{"Overscan          0 (Off)"});
        QVERIFY(rig.operator_side.window_enabled);
    }

    void write_all_stops_at_the_first_failure_data()
    {
        QTest::addColumn<bool>("port_closed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("wire");
        QTest::addRow("unit of another type")
            << false
            << QStringList{"Wrong QUVEX type selected.", link::Link::kNoResponseText, "Unable to complete operation."}
            << QStringList{"Overscan=1", "ImageFreeze=3", "FlickerRed.=4"};
        QTest::addRow("port closed") << true << QStringList{"Unit is dis-connected.  Nothing will be sent."}
                                     << QStringList{};
    }

    void write_all_stops_at_the_first_failure()
    {
        QFETCH(bool, port_closed);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, wire);
        Rig rig;
        for (const auto &[name, value] : {std::pair{"Overscan", 1}, {"ImageFreeze", 3}, {"FlickerRed.", 4}})
            rig.unit.set_value(name, value);
        connect_unit(rig, 1);
        if (port_closed)
            rig.panel.quvex_Click(0);
        rig.unit.unknown_names = {"FlickerRed."};
        rig.operator_side.messages.clear();

        rig.panel.write_unit_Click();

        QCOMPARE(rig.operator_side.message_texts(), messages);
        for (const test::FakeOperator::Message &message : rig.operator_side.messages)
            QCOMPARE(message.title, message.text == link::Link::kNoResponseText ? "Error" : "");
        QCOMPARE(rig.unit.sent(), wire_bytes(wire));
        QVERIFY(rig.operator_side.window_enabled);
    }

    void write_all_sends_no_fixed_items_nor_headings()
    {
        for (int model = 1; model < catalogue::kUnitModelCount; ++model) {
            Rig rig;
            connect_unit(rig, model);
            rig.panel.write_unit_Click();
            QVERIFY(rig.unit.sent_lines().contains("Zoom=0"));
            for (const QString &line : rig.unit.sent_lines()) {
                const QString name = line.section(u'=', 0, 0);
                QVERIFY2(!QStringList({"BaudRate", "RS232", "RS232ID"}).contains(name), qPrintable(line));
                QVERIFY2(!name.contains(u'>') && !name.contains("S/Size") && !name.contains("ManualSet"),
                         qPrintable(line));
                // Only the mode query pair reads; everything else is a write.
                QVERIFY2(line.contains(u'=') || name == "VideoStd" || name == "Overscan", qPrintable(line));
            }
        }
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

        const QStringList all = {"OutH-Centre:=0", "OutH-Width:=0", "OutV-Centre:=0", "OutV-Height:=0"};
        QStringList expected = {"Overscan=0", "ImageFreeze=0", "FlickerRed.=0", "VideoStd", "Overscan"};
        expected << all << "Overscan=1" << "OutH-Centre:=0" << "OutV-Centre:=0" << "OutV-Height:=0" << "VideoStd=1"
                 << "Overscan=0" << all << "Overscan=1" << all << "VideoStd=0" << "Overscan=0";
        QCOMPARE(rig.unit.sent(), wire_bytes(expected));
        QVERIFY(rig.operator_side.messages.isEmpty());
    }

    void unit_commands()
    {
        Rig rig;
        rig.panel.reset_unit_Click();
        QVERIFY(rig.unit.sent().isEmpty() && rig.operator_side.messages.isEmpty());

        connect_unit(rig, 2);
        rig.panel.store_settings_Click();
        rig.panel.vga_store_Click();
        QCOMPARE(rig.unit.sent(), QByteArray("StoreSettings=1\rVGAStore=1\r"));
        QVERIFY(rig.operator_side.messages.isEmpty());

        // The operator is asked to wait after the command, and the unit is read again after that.
        rig.unit.clear_sent();
        QStringList wire_at_message;
        rig.operator_side.on_message = [&](const QString &) { wire_at_message = rig.unit.sent_lines(); };
        rig.panel.reset_unit_Click();
        QCOMPARE(rig.operator_side.message_texts(), QStringList{"Click OK when unit has reset."});
        QCOMPARE(wire_at_message, QStringList{"Reset=1"});
        const QStringList sent = rig.unit.sent_lines();
        rig.unit.clear_sent();
        rig.panel.read_unit_Click();
        QVERIFY(rig.unit.sent_lines().size() > 40);
        QCOMPARE(sent, QStringList{"Reset=1"} + rig.unit.sent_lines());
    }
};

QTEST_GUILESS_MAIN(TestUnitOperations)
#include "tst_unit_operations.moc"
