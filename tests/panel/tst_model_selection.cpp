// Choosing the unit model: the port and the list. (A port that will not open: the window's test.)
#include "support/rig.h"

#include <QTest>

using quvex::test::Rig;

class TestModelSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void another_model_while_connected_keeps_the_port_and_lists_the_new_one()
    {
        Rig rig;
        rig.panel.quvex_Click(2);
        rig.unit.swap_for("QK1");
        for (const int click : {5, -1, 7}) // out of range: ignored
            rig.panel.quvex_Click(click);
        Rig direct("QK1");
        direct.panel.quvex_Click(5);

        QVERIFY(rig.model.index() == 5 && rig.view.model_button == 5);
        QVERIFY(rig.unit.is_open() && rig.unit.open_count() == 1 && rig.operator_side.messages.isEmpty());
        QCOMPARE(rig.view.lines, direct.view.lines);
    }
};

QTEST_GUILESS_MAIN(TestModelSelection)
#include "tst_model_selection.moc"
