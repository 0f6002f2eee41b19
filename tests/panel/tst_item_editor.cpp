// Picking a list line into the editor and changing the picked item from there.
#include "support/rig.h"

#include <QTest>

using namespace quvex;

namespace {

// The editor in one line: caption, value box, step size, visible options with '*' on the
// checked one; after " | " the highlighted list line.
QString shown(const test::Rig &rig)
{
    QString text = rig.view.caption + " = " + rig.view.value_text
                   + (rig.view.value_controls_enabled ? "" : " (disabled)") + " step "
                   + QString::number(rig.panel.step_size());
    for (const test::FakeView::Option &option : rig.view.options) {
        if (option.visible)
            text += (option.checked ? " *" : " ") + option.caption;
    }
    return text + " | " + rig.view.lines.value(rig.view.highlighted);
}

} // namespace

class TestItemEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A QUVEXkey Solo whose Flicker Red. (step 2) is 10 and whose Keyer, with four options, is
    // at the fourth. What the unit holds may be unknown: a step from it would send a number
    // nobody chose, while a typed number or an option is what the operator chose.
    void editing_data()
    {
        QTest::addColumn<QString>("item"); // the line picked first
        // Steps: "unknown" (the picked item's value), "answer <text>" (to the next line sent),
        // "click <line>", "inc", "feat<n>", "index 0", "index past" (no item), else text typed.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QString>("shown"); // no line highlighted: the list and the window untouched
        const QString flicker = "Flicker Red.", keyer = "Keyer";
        QTest::addRow("heading") << flicker << "click ---Zoom" << QStringList{} << "Flicker Red. = 10 step 2 | ";
        QTest::addRow("step of two") << keyer << "click Flicker Red." << QStringList{"FlickerRed."}
                                     << "Flicker Red. = 10 step 2 | Flicker Red.      10";
        QTest::addRow("no format") << flicker << "click Total Lines" << QStringList{"TotalLines"}
                                   << "Total Lines = 625 (disabled) step 1 | Total Lines       625";
        QTest::addRow("four options, the fourth")
            << flicker << "click Keyer" << QStringList{"Keyer"}
            << "Keyer = 3 step 1 V.Soft Soft Normal *Hard | Keyer             3 (Hard)";
        QTest::addRow("two, value outside") << keyer << "answer 2, click Zoom " << QStringList{"Zoom"}
                                            << "Zoom = 2 step 1 Off On | Zoom              2";
        // A read without a number leaves the value unknown: nothing in the box, no option checked.
        QTest::addRow("noise for an answer") << flicker << "answer x3, click Keyer" << QStringList{"Keyer"}
                                             << "Keyer =  step 1 V.Soft Soft Normal Hard | Keyer             ";
        QTest::addRow("+ on a step of two") << flicker << "inc" << QStringList{"FlickerRed.=12", "FlickerRed."}
                                            << "Flicker Red. = 12 step 2 | Flicker Red.      12";
        QTest::addRow("option already set") << keyer << "feat3" << QStringList{"Keyer"}
                                            << "Keyer = 3 step 1 V.Soft Soft Normal *Hard | Keyer             3 (Hard)";
        QTest::addRow("+ on an unknown value") << flicker << "unknown, inc" << QStringList{"FlickerRed."}
                                               << "Flicker Red. = 10 step 2 | Flicker Red.      10";
        QTest::addRow("typed 0 on an unknown value")
            << flicker << "unknown, 0" << QStringList{"FlickerRed.=0", "FlickerRed."}
            << "Flicker Red. = 0 step 2 | Flicker Red.      0";
        QTest::addRow("option on an unknown value")
            << keyer << "unknown, feat3" << QStringList{"Keyer=3", "Keyer"}
            << "Keyer = 3 step 1 V.Soft Soft Normal *Hard | Keyer             3 (Hard)";
        // Typed: no number, or one the wire would not carry exactly (too large, too many digits).
        QTest::addRow("nothing to send, no item")
            << flicker << "abc, inf, -inf, nan, 1e300, 0.1234567890123456, 12.0000000000000000001, index 0, index past"
            << QStringList{} << "Flicker Red. = 10 step 2 | ";
    }

    void editing()
    {
        QFETCH(QString, item);
        QFETCH(QString, steps);
        QFETCH(QString, shown);
        test::Rig rig("QK1");
        rig.unit.set_value("FlickerRed.", 10);
        rig.unit.set_value("Keyer", 3);
        rig.connect(5);
        rig.panel.menu_list_Click(rig.row_of(item));
        rig.unit.clear_sent();
        rig.operator_side.window_changes.clear();
        rig.view.highlighted = -1;
        const QStringList lines = rig.view.lines;

        for (const QString &step : steps.split(", ")) {
            if (step == "unknown")
                rig.catalogue.entry(rig.panel.selected_item()).value = {};
            else if (step.startsWith("answer "))
                rig.unit.script_next_answer({step.mid(7).toLatin1() + "\r\n"});
            else if (step.startsWith("click "))
                rig.panel.menu_list_Click(rig.row_of(step.mid(6)));
            else if (step == "inc")
                rig.panel.inc_Click();
            else if (step.startsWith("feat"))
                rig.panel.feat_Click(step.back().digitValue());
            else if (step.startsWith("index"))
                rig.panel.set_item_value(step == "index 0" ? 0 : rig.catalogue.item_count() + 1, 5);
            else
                rig.panel.item_value_LostFocus(rig.view.value_text = step);
        }

        QTEST(rig.unit.sent_lines(), "wire");
        QTEST(::shown(rig), "shown");
        if (shown.endsWith(" | "))
            QVERIFY(rig.view.lines == lines && rig.operator_side.window_changes.isEmpty());
        else
            QCOMPARE(rig.operator_side.window_changes, QList<bool>({false, true}));
    }
};

QTEST_GUILESS_MAIN(TestItemEditor)
#include "tst_item_editor.moc"
