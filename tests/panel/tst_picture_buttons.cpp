// The position, size, zoom, pan, scan and Auto Set buttons, as the lines the unit receives.
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;
using P = panel::Panel;
using Button = void (P::*)();
Q_DECLARE_METATYPE(Button)

class TestPictureButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The unit is in PAL O/scan with 40 in that mode's picture values and in its pans, and Zoom
    // off. Without the unit's own mode a button would edit a set the unit is not showing, and
    // "restore" the unit into a mode that was never its own: it asks again and edits nothing.
    void buttons_data()
    {
        QTest::addColumn<Button>("button");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("condition"); // "silent: <wire name>", "wrong type: <wire name>", "unknown: <item>"
        const QStringList none, lost{test::kNoResponse};
        const QString mode = "VideoStd Overscan "; // asked before each access to a picture value
        QTest::addRow("up") << &P::Command1_Click << mode + "OutV-Centre:=39 " + mode + "OutV-Centre:" << none << "";
        QTest::addRow("down") << &P::Command5_Click << mode + "OutV-Centre:=41 " + mode + "OutV-Centre:" << none << "";
        QTest::addRow("left") << &P::Command4_Click << mode + "OutH-Centre:=39 " + mode + "OutH-Centre:" << none << "";
        QTest::addRow("right") << &P::Command3_Click << mode + "OutH-Centre:=41 " + mode + "OutH-Centre:" << none << "";
        QTest::addRow("wider") << &P::Command6_Click << mode + "OutH-Width:=41 " + mode + "OutH-Width:" << none << "";
        QTest::addRow("narrower") << &P::Command7_Click << mode + "OutH-Width:=39 " + mode + "OutH-Width:" << none
                                  << "";
        QTest::addRow("taller") << &P::Command8_Click << mode + "OutV-Height:=41 " + mode + "OutV-Height:" << none
                                << "";
        QTest::addRow("shorter") << &P::Command9_Click << mode + "OutV-Height:=39 " + mode + "OutV-Height:" << none
                                 << "";
        QTest::addRow("pan up") << &P::Command13_Click << "PanYPos:=41 PanYPos:" << none << "";
        QTest::addRow("pan down") << &P::Command10_Click << "PanYPos:=39 PanYPos:" << none << "";
        QTest::addRow("pan left") << &P::Command11_Click << "PanXPos:=41 PanXPos:" << none << "";
        QTest::addRow("pan right") << &P::Command12_Click << "PanXPos:=39 PanXPos:" << none << "";
        QTest::addRow("zoom on") << &P::Command2_Click << "Zoom=1 Zoom" << none << "";
        QTest::addRow("zoom off, already off") << &P::Command20_Click << "Zoom" << none << "";
        QTest::addRow("overscan on, already on") << &P::Command22_Click << "Overscan" << none << "";
        QTest::addRow("overscan off") << &P::Command21_Click << "Overscan=0 Overscan" << none << "";
        QTest::addRow("auto set") << &P::Command24_Click << "AutoSet=1" << none << "";
        QTest::addRow("Video Std answer lost") << &P::Command3_Click << "VideoStd" << lost << "silent: VideoStd";
        QTest::addRow("Video Std unknown")
            << &P::Command3_Click << "VideoStd" << QStringList{test::kWrongType} << "wrong type: VideoStd";
        QTest::addRow("Overscan answer lost")
            << &P::Command3_Click << "VideoStd Overscan" << lost << "silent: Overscan";
        QTest::addRow("right, its item unknown")
            << &P::Command3_Click << mode + "OutH-Centre:" << none << "unknown: PO\\Out H-Centre:";
        QTest::addRow("pan left, its item unknown")
            << &P::Command11_Click << "PanXPos:" << none << "unknown: Pan X Pos:";
        QTest::addRow("wider, Video Std unknown")
            << &P::Command6_Click << "VideoStd Overscan" << none << "unknown: Video Std";
        QTest::addRow("down, Overscan unknown")
            << &P::Command5_Click << "VideoStd Overscan" << none << "unknown: Overscan";
        QTest::addRow("underscan, Overscan unknown")
            << &P::Command21_Click << "Overscan=0 Overscan" << none << "unknown: Overscan";
    }

    void buttons()
    {
        QFETCH(Button, button);
        QFETCH(QString, condition);
        test::Rig rig("QVL");
        for (const auto &[name, value] :
             {std::pair{"VideoStd", 1}, {"Overscan", 1}, {"PanXPos:", 40}, {"PanYPos:", 40}})
            rig.unit.set_value(name, value);
        for (const char *name : {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"})
            rig.unit.set_picture_value(1, 1, name, 40);
        rig.connect(1);
        const QString kind = condition.section(": ", 0, 0), name = condition.section(": ", 1);
        if (kind == "silent")
            rig.unit.silent_names = {name};
        else if (kind == "wrong type")
            rig.unit.unknown_names = {name};
        else if (kind == "unknown")
            rig.catalogue.entry(rig.index_of(name)).value = {};
        const QStringList lines = rig.view.lines;

        (rig.panel.*button)();

        // The exact lines also pin the unit's mode afterwards: no switch goes out unseen.
        QTEST(rig.unit.sent_lines().join(u' '), "wire");
        QTEST(rig.operator_side.message_texts(), "messages");
        if (!rig.operator_side.messages.isEmpty())
            QCOMPARE(rig.view.lines, lines);
    }
};

QTEST_GUILESS_MAIN(TestPictureButtons)
#include "tst_picture_buttons.moc"
