// The position, size, zoom, pan, scan and Auto Set buttons.
#include "rig_helpers.h"

#include <QTest>

using namespace quvex;
using test::Rig;

namespace {

using P = panel::Panel;

struct Press
{
    void (P::*button)();
    QString mode; // the unit's mode when it was read, as a prefix ("PU")
    QString now;  // and when the button is pressed
    QString item; // "PU\OutH-Centre:" for one mode's picture item, else a wire name
    double start;
    QStringList wire;
    QString line; // empty: no list line changes
};

// One access to a picture item: the mode query pair, switches there, the access, switches back.
QStringList bracketed(const QStringList &there, const QString &access, const QStringList &back)
{
    return QStringList{"VideoStd", "Overscan"} + there + QStringList{access} + back;
}

// A change of a picture item in the unit's own mode: the write and the read back, each bracketed.
QStringList in_own_mode(const QString &write)
{
    return bracketed({}, write, {}) + bracketed({}, write.section(u'=', 0, 0), {});
}

void set_mode(test::FakeUnit &unit, const QString &mode)
{
    unit.set_value("VideoStd", mode.startsWith(u'P') ? 1 : 0);
    unit.set_value("Overscan", mode.endsWith(u'O') ? 1 : 0);
}

} // namespace

Q_DECLARE_METATYPE(Press)

class TestPictureButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttons_data()
    {
        QTest::addColumn<Press>("press");
        const auto row = [](const char *name, const Press &press) { QTest::addRow("%s", name) << press; };
        row("right, unit switched to NTSC since",
            {&P::Command3_Click, "PU", "NU", "PU\\OutH-Centre:", 512,
             bracketed({"VideoStd=1"}, "OutH-Centre:=513", {"VideoStd=0"})
                 + bracketed({"VideoStd=1"}, "OutH-Centre:", {"VideoStd=0"}),
             "PU\\Out H-Centre:  513"});
        row("wider, unit in the opposite mode",
            {&P::Command6_Click, "NO", "PU", "NO\\OutH-Width:", 40,
             bracketed({"VideoStd=0", "Overscan=1"}, "OutH-Width:=41", {"VideoStd=1", "Overscan=0"})
                 + bracketed({"VideoStd=0", "Overscan=1"}, "OutH-Width:", {"VideoStd=1", "Overscan=0"}),
             "NO\\Out H-Width:   41"});
        row("up from 0", {&P::Command1_Click, "NU", "NU", "NU\\OutV-Centre:", 0, in_own_mode("OutV-Centre:=-1"),
                          "NU\\Out V-Centre:  -1"});
        row("down", {&P::Command5_Click, "NO", "NO", "NO\\OutV-Centre:", 7, in_own_mode("OutV-Centre:=8"),
                     "NO\\Out V-Centre:  8"});
        row("left", {&P::Command4_Click, "PO", "PO", "PO\\OutH-Centre:", 512, in_own_mode("OutH-Centre:=511"),
                     "PO\\Out H-Centre:  511"});
        row("narrower", {&P::Command7_Click, "PO", "PO", "PO\\OutH-Width:", 40, in_own_mode("OutH-Width:=39"),
                         "PO\\Out H-Width:   39"});
        row("taller", {&P::Command8_Click, "NU", "NU", "NU\\OutV-Height:", 20, in_own_mode("OutV-Height:=21"),
                       "NU\\Out V-Height:  21"});
        row("shorter", {&P::Command9_Click, "NU", "NU", "NU\\OutV-Height:", 20, in_own_mode("OutV-Height:=19"),
                        "NU\\Out V-Height:  19"});
        row("pan left",
            {&P::Command11_Click, "NU", "NU", "PanXPos:", 5, {"PanXPos:=6", "PanXPos:"}, "Pan X Pos:        6"});
        row("pan right",
            {&P::Command12_Click, "NU", "NU", "PanXPos:", 5, {"PanXPos:=4", "PanXPos:"}, "Pan X Pos:        4"});
        row("pan up",
            {&P::Command13_Click, "NU", "NU", "PanYPos:", 5, {"PanYPos:=6", "PanYPos:"}, "Pan Y Pos:        6"});
        row("pan down",
            {&P::Command10_Click, "NU", "NU", "PanYPos:", 5, {"PanYPos:=4", "PanYPos:"}, "Pan Y Pos:        4"});
        row("zoom on, already on", {&P::Command2_Click, "NU", "NU", "Zoom", 1, {"Zoom"}, "Zoom              1 (On)"});
        row("zoom off", {&P::Command20_Click, "NU", "NU", "Zoom", 1, {"Zoom=0", "Zoom"}, "Zoom              0 (Off)"});
        row("overscan on",
            {&P::Command22_Click, "NU", "NU", "Zoom", 1, {"Overscan=1", "Overscan"}, "Overscan          1 (On)"});
        row("overscan off",
            {&P::Command21_Click, "NO", "NO", "Zoom", 1, {"Overscan=0", "Overscan"}, "Overscan          0 (Off)"});
        row("auto set", {&P::Command24_Click, "NU", "NU", "Zoom", 1, {"AutoSet=1"}, {}});
    }

    void buttons()
    {
        QFETCH(Press, press);
        Rig rig;
        set_mode(rig.unit, press.mode);
        const QString &item = press.item;
        if (item.at(2) == u'\\')
            rig.unit.set_picture_value(item.startsWith(u'P'), item.at(1) == u'O', item.mid(3), press.start);
        else
            rig.unit.set_value(press.item, press.start);
        test::connect_unit(rig, 1);
        set_mode(rig.unit, press.now);
        const QStringList lines = rig.view.lines;

        (rig.panel.*press.button)();

        QCOMPARE(rig.unit.sent(), test::wire_bytes(press.wire));
        QVERIFY(rig.operator_side.messages.isEmpty());
        if (press.line.isEmpty()) {
            QCOMPARE(rig.view.lines, lines);
            return;
        }
        const int row = test::row_of(rig.view, press.line.left(catalogue::Catalogue::kNameWidth));
        QCOMPARE(rig.view.lines.at(row), press.line);
        QCOMPARE(rig.view.highlighted, row);
    }

    void buttons_while_disconnected()
    {
        Rig rig;
        rig.panel.Command3_Click();
        QCOMPARE(rig.panel.selected_item(), rig.index_of("NU\\Out H-Centre:"));
        rig.panel.Command11_Click();
        QCOMPARE(rig.panel.selected_item(), rig.index_of("Pan X Pos:"));
        QVERIFY(rig.operator_side.messages.isEmpty());

        rig.panel.Command24_Click();
        rig.panel.Command24_Click();
        QCOMPARE(rig.operator_side.message_texts(), QStringList{"Unit is dis-connected.  Nothing will be sent."});
        QVERIFY(rig.unit.sent().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPictureButtons)
#include "tst_picture_buttons.moc"
