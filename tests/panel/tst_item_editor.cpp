// Picking a list line into the editor and changing the picked item from there.
#include "support/rig.h"

#include <QTest>

using namespace quvex;
using test::Rig;

namespace {

// A QUVEXkey Solo whose Flicker Red. is 10 and whose Keyer, with four options, is at the fourth.
void connect_filled(Rig &rig)
{
    rig.unit.set_value("FlickerRed.", 10);
    rig.unit.set_value("Keyer", 3);
    rig.connect(5);
}

// The editor in one line: caption, value box, step size, visible options with '*' on the checked one.
QString editor(const Rig &rig)
{
    QString text = rig.view.caption + " = " + rig.view.value_text
                   + (rig.view.value_controls_enabled ? "" : " (disabled)") + " step "
                   + QString::number(rig.panel.step_size());
    for (const test::FakeView::Option &option : rig.view.options) {
        if (option.visible)
            text += (option.checked ? " *" : " ") + option.caption;
    }
    return text;
}

} // namespace

class TestItemEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicking_a_line_data()
    {
        QTest::addColumn<QString>("before"); // the line picked first
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("answer"); // in place of the unit's own, when given
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QString>("editor");
        const QString flicker = "Flicker Red.";
        const QByteArray own;
        QTest::addRow("heading") << flicker << "---Zoom" << own << QStringList{} << "Flicker Red. = 10 step 2";
        QTest::addRow("step of two") << "Keyer" << flicker << own << QStringList{"FlickerRed."}
                                     << "Flicker Red. = 10 step 2";
        QTest::addRow("no format") << flicker << "Total Lines" << own << QStringList{"TotalLines"}
                                   << "Total Lines = 625 (disabled) step 1";
        QTest::addRow("four options, the fourth")
            << flicker << "Keyer" << own << QStringList{"Keyer"} << "Keyer = 3 step 1 V.Soft Soft Normal *Hard";
        QTest::addRow("two, value outside")
            << "Keyer"
            << "Zoom " << QByteArray("2\r\n") << QStringList{"Zoom"} << "Zoom = 2 step 1 Off On";
        // A read without a number leaves the value unknown: nothing in the box, no option checked.
        QTest::addRow("noise for an answer") << flicker << "Keyer" << QByteArray("x3\r\n") << QStringList{"Keyer"}
                                             << "Keyer =  step 1 V.Soft Soft Normal Hard";
    }

    void clicking_a_line()
    {
        QFETCH(QString, before);
        QFETCH(QString, line);
        QFETCH(QByteArray, answer);
        Rig rig("QK1");
        connect_filled(rig);
        rig.panel.menu_list_Click(rig.row_of(before));
        rig.unit.clear_sent();
        if (!answer.isEmpty())
            rig.unit.script_next_answer({answer});

        rig.panel.menu_list_Click(rig.row_of(line));

        QTEST(rig.unit.sent_lines(), "wire");
        QTEST(editor(rig), "editor");
        QCOMPARE(rig.panel.selected_item(), rig.index_of(rig.view.caption)); // what the editor shows
    }

    void value_outside_the_options_shows_the_number_alone()
    {
        Rig rig("QK1");
        connect_filled(rig);
        rig.unit.script_next_answer({"2\r\n"});
        rig.panel.menu_list_Click(rig.row_of("Zoom "));
        QCOMPARE(rig.view.lines.at(rig.row_of("Zoom ")), "Zoom              2");
    }

    void changing_the_picked_item_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("action"); // a button, an index of no item, or else text typed into the box
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QString>("value_text");
        QTest::addColumn<QString>("line"); // the item's line afterwards, highlighted; empty: list untouched
        const QString flicker = "Flicker Red.";
        QTest::addRow("+ on a step of two") << flicker << "inc" << QStringList{"FlickerRed.=12", "FlickerRed."} << "12"
                                            << "Flicker Red.      12";
        QTest::addRow("option already set") << "Keyer"
                                            << "feat3" << QStringList{"Keyer"} << "3"
                                            << "Keyer             3 (Hard)";
        // What the unit holds is not known: a step from it would send a number nobody chose,
        // while a typed number or an option is what the operator chose.
        QTest::addRow("+ on an unknown value") << flicker << "unknown, inc" << QStringList{"FlickerRed."} << "10"
                                               << "Flicker Red.      10";
        QTest::addRow("typed 0 on an unknown value")
            << flicker << "unknown, 0" << QStringList{"FlickerRed.=0", "FlickerRed."} << "0"
            << "Flicker Red.      0";
        QTest::addRow("option on an unknown value") << "Keyer"
                                                    << "unknown, feat3" << QStringList{"Keyer=3", "Keyer"} << "3"
                                                    << "Keyer             3 (Hard)";
        QTest::addRow("typed abc") << flicker << "abc" << QStringList{} << "10"
                                   << "";
        QTest::addRow("index 0") << flicker << "index 0" << QStringList{} << "10"
                                 << "";
        QTest::addRow("index item_count() + 1") << flicker << "index past" << QStringList{} << "10"
                                                << "";
    }

    void changing_the_picked_item()
    {
        QFETCH(QString, item);
        QFETCH(QString, action);
        QFETCH(QString, line);
        Rig rig("QK1");
        connect_filled(rig);
        rig.panel.menu_list_Click(rig.row_of(item));
        rig.unit.clear_sent();
        rig.operator_side.window_changes.clear();
        rig.view.highlighted = -1;
        const QStringList lines = rig.view.lines;
        if (action.startsWith("unknown, ")) {
            rig.catalogue.entry(rig.panel.selected_item()).value = {};
            action.remove(0, 9);
        }

        if (action == "inc") {
            rig.panel.inc_Click();
        } else if (action.startsWith("feat")) {
            rig.panel.feat_Click(action.back().digitValue());
        } else if (action.startsWith("index")) {
            rig.panel.set_item_value(action == "index 0" ? 0 : rig.catalogue.item_count() + 1, 5);
        } else {
            rig.view.value_text = action;
            rig.panel.item_value_LostFocus(action);
        }

        QTEST(rig.unit.sent_lines(), "wire");
        QTEST(rig.view.value_text, "value_text");
        if (line.isEmpty()) {
            QCOMPARE(rig.view.lines, lines);
            QVERIFY(rig.view.highlighted == -1 && rig.operator_side.window_changes.isEmpty());
        } else {
            QCOMPARE(rig.view.lines.value(rig.view.highlighted), line);
            QCOMPARE(rig.operator_side.window_changes, QList<bool>({false, true}));
        }
    }
};

QTEST_GUILESS_MAIN(TestItemEditor)
#include "tst_item_editor.moc"
