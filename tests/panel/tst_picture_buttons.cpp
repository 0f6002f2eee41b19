// The position, size, zoom, pan, scan and Auto Set buttons, as the writes the unit receives.
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using P = quvex::panel::Panel;
using Button = void (P::*)();
Q_DECLARE_METATYPE(Button)

class TestPictureButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttons_data()
    {
        // The unit is in PAL O/scan with 40 in its own picture values and pans, and Zoom off.
        QTest::addColumn<Button>("button");
        QTest::addColumn<QString>("write"); // empty: nothing written
        QTest::addRow("up") << &P::Command1_Click << "OutV-Centre:=39";
        QTest::addRow("down") << &P::Command5_Click << "OutV-Centre:=41";
        QTest::addRow("left") << &P::Command4_Click << "OutH-Centre:=39";
        QTest::addRow("right") << &P::Command3_Click << "OutH-Centre:=41";
        QTest::addRow("wider") << &P::Command6_Click << "OutH-Width:=41";
        QTest::addRow("narrower") << &P::Command7_Click << "OutH-Width:=39";
        QTest::addRow("taller") << &P::Command8_Click << "OutV-Height:=41";
        QTest::addRow("shorter") << &P::Command9_Click << "OutV-Height:=39";
        QTest::addRow("pan up") << &P::Command13_Click << "PanYPos:=41";
        QTest::addRow("pan down") << &P::Command10_Click << "PanYPos:=39";
        QTest::addRow("pan left") << &P::Command11_Click << "PanXPos:=41";
        QTest::addRow("pan right") << &P::Command12_Click << "PanXPos:=39";
        QTest::addRow("zoom on") << &P::Command2_Click << "Zoom=1";
        QTest::addRow("zoom off, already off") << &P::Command20_Click << "";
        QTest::addRow("overscan on, already on") << &P::Command22_Click << "";
        QTest::addRow("overscan off") << &P::Command21_Click << "Overscan=0";
        QTest::addRow("auto set") << &P::Command24_Click << "AutoSet=1";
    }

    void buttons()
    {
        QFETCH(Button, button);
        QFETCH(QString, write);
        quvex::test::Rig rig("QVL");
        for (const auto &[name, value] :
             {std::pair{"VideoStd", 1}, {"Overscan", 1}, {"PanXPos:", 40}, {"PanYPos:", 40}})
            rig.unit.set_value(name, value);
        for (const char *name : {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"})
            rig.unit.set_picture_value(1, 1, name, 40);
        rig.connect(1);

        (rig.panel.*button)();

        // A picture item of another mode would bring mode switches among the writes.
        QCOMPARE(rig.unit.sent_lines().filter("="), write.isEmpty() ? QStringList() : QStringList{write});
    }

    // Without the unit's own mode the button would edit a set the unit is not showing, and
    // "restore" the unit into a mode that was never its own.
    void mode_query_without_a_number_data()
    {
        QTest::addColumn<QList<QByteArray>>("first_answer"); // in place of the unit's own, when given
        QTest::addColumn<QString>("silent");
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("Video Std answer lost")
            << QList<QByteArray>{} << "" << QStringList{"VideoStd"} << QStringList{quvex::test::kNoResponse};
        QTest::addRow("Video Std unknown")
            << QList<QByteArray>{"?\n"} << "" << QStringList{"VideoStd"} << QStringList{quvex::test::kWrongType};
        QTest::addRow("Overscan answer lost")
            << QList<QByteArray>{"1\r\n"} << "Overscan" << QStringList{"VideoStd", "Overscan"}
            << QStringList{quvex::test::kNoResponse};
    }

    void mode_query_without_a_number()
    {
        QFETCH(QList<QByteArray>, first_answer);
        QFETCH(QString, silent);
        quvex::test::Rig rig;
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.unit.set_picture_value(1, 1, "OutH-Centre:", 112);
        rig.connect(1);
        const QStringList lines = rig.view.lines;
        rig.unit.script_next_answer(first_answer);
        rig.unit.silent_names = {silent};

        rig.panel.Command3_Click();

        QTEST(rig.unit.sent_lines(), "wire");
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.unit.video_std() == 1 && rig.unit.overscan() == 1);
        QCOMPARE(rig.unit.picture_value(1, 1, "OutH-Centre:"), 112.0);
        QCOMPARE(rig.view.lines, lines);
    }

    void unknown_value_data()
    {
        QTest::addColumn<Button>("button");
        QTest::addColumn<QString>("unknown"); // the item whose value the unit did not give
        QTest::addColumn<QStringList>("wire");
        QTest::addRow("right, its item unknown")
            << &P::Command3_Click << "PO\\Out H-Centre:" << QStringList{"VideoStd", "Overscan", "OutH-Centre:"};
        QTest::addRow("pan left, its item unknown") << &P::Command11_Click << "Pan X Pos:" << QStringList{"PanXPos:"};
        QTest::addRow("wider, Video Std unknown")
            << &P::Command6_Click << "Video Std" << QStringList{"VideoStd", "Overscan"};
        QTest::addRow("down, Overscan unknown")
            << &P::Command5_Click << "Overscan" << QStringList{"VideoStd", "Overscan"};
        QTest::addRow("zoom on, its item unknown") << &P::Command2_Click << "Zoom" << QStringList{"Zoom=1", "Zoom"};
        QTest::addRow("underscan, Overscan unknown")
            << &P::Command21_Click << "Overscan" << QStringList{"Overscan=0", "Overscan"};
    }

    void unknown_value()
    {
        QFETCH(Button, button);
        QFETCH(QString, unknown);
        quvex::test::Rig rig;
        rig.unit.set_value("VideoStd", 1);
        rig.unit.set_value("Overscan", 1);
        rig.connect(1);
        rig.catalogue.entry(rig.index_of(unknown)).value = {};

        (rig.panel.*button)();

        QTEST(rig.unit.sent_lines(), "wire");
        QVERIFY(rig.view.lines.contains("Video Std         1"));
    }
};

QTEST_GUILESS_MAIN(TestPictureButtons)
#include "tst_picture_buttons.moc"
