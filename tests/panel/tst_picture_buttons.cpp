// The position, size, zoom, pan, scan and Auto Set buttons, as the writes the unit receives.
#include "rig_helpers.h"

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
        // The unit is in PAL O/scan with 40 in its own picture values and pans, and Zoom at 2.
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
        QTest::addRow("zoom off") << &P::Command20_Click << "Zoom=0";
        QTest::addRow("overscan on, already on") << &P::Command22_Click << "";
        QTest::addRow("overscan off") << &P::Command21_Click << "Overscan=0";
        QTest::addRow("auto set") << &P::Command24_Click << "AutoSet=1";
    }

    void buttons()
    {
        QFETCH(Button, button);
        QFETCH(QString, write);
        quvex::test::Rig rig;
        for (const auto &[name, value] :
             {std::pair{"VideoStd", 1}, {"Overscan", 1}, {"Zoom", 2}, {"PanXPos:", 40}, {"PanYPos:", 40}})
            rig.unit.set_value(name, value);
        for (const char *name : {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"})
            rig.unit.set_picture_value(1, 1, name, 40);
        quvex::test::connect_unit(rig, 1);

        (rig.panel.*button)();

        // A picture item of another mode would bring mode switches among the writes.
        QCOMPARE(rig.unit.sent_lines().filter("="), write.isEmpty() ? QStringList() : QStringList{write});
    }
};

QTEST_GUILESS_MAIN(TestPictureButtons)
#include "tst_picture_buttons.moc"
