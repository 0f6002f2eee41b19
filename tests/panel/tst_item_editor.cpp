// Picking a list line into the editor and changing the picked item from there.
#include "rig_helpers.h"

#include <QTest>

using namespace quvex;
using test::Rig;
using test::row_of;

namespace {

struct Pick
{
    int model;
    QString before; // the line picked first
    QString line;
    QStringList wire;
    QString editor;
};

struct Change
{
    QString item;
    QString action; // a button, an index of no item, or else the text typed into the value box
    QStringList wire;
    QString value_text;
    QString line;
};

// A unit in PAL overscan with a value of its own for each item these tests pick.
void connect_filled(Rig &rig, int model, double zoom = 1)
{
    for (const auto &[name, value] : {std::pair{"VideoStd", 1.0}, {"Overscan", 1.0}, {"FlickerRed.", 10.0},
                                      {"Zoom", zoom}, {"TotalLines", 625.0}, {"Keyer", 2.0}})
        rig.unit.set_value(name, value);
    rig.unit.set_picture_value(1, 0, "OutH-Centre:", 300);
    test::connect_unit(rig, model);
}

void click_line(Rig &rig, const QString &start)
{
    QVERIFY2(row_of(rig.view, start) >= 0, qPrintable(start));
    rig.panel.menu_list_Click(row_of(rig.view, start));
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

Q_DECLARE_METATYPE(Pick)
Q_DECLARE_METATYPE(Change)

class TestItemEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicking_a_line_data()
    {
        QTest::addColumn<Pick>("pick");
        QTest::addRow("heading") << Pick{1, "Flicker Red.", "---Zoom", {}, "Flicker Red. = 10 step 2"};
        QTest::addRow("step of two") << Pick{1, "Zoom", "Flicker Red.", {"FlickerRed."}, "Flicker Red. = 10 step 2"};
        QTest::addRow("PAL U/scan item, unit in PAL O/scan")
            << Pick{1, "Flicker Red.", "PU\\Out H-Centre:",
                    {"VideoStd", "Overscan", "Overscan=0", "OutH-Centre:", "Overscan=1"},
                    "PU\\Out H-Centre: = 300 step 1"};
        QTest::addRow("no format")
            << Pick{1, "Zoom", "Total Lines", {"TotalLines"}, "Total Lines = 625 (disabled) step 1"};
        QTest::addRow("two options") << Pick{1, "Total Lines", "Zoom", {"Zoom"}, "Zoom = 1 step 1 Off *On"};
        QTest::addRow("four options")
            << Pick{5, "Zoom", "Keyer", {"Keyer"}, "Keyer = 2 step 1 V.Soft Soft *Normal Hard"};
    }

    void clicking_a_line()
    {
        QFETCH(Pick, pick);
        Rig rig;
        connect_filled(rig, pick.model);
        click_line(rig, pick.before);
        rig.unit.clear_sent();

        click_line(rig, pick.line);

        QCOMPARE(rig.unit.sent(), test::wire_bytes(pick.wire));
        QCOMPARE(editor(rig), pick.editor);
    }

    void changing_the_picked_item_data()
    {
        QTest::addColumn<Change>("change");
        const QString flicker = "Flicker Red.      10";
        QTest::addRow("+ on a step of two")
            << Change{"Flicker Red.", "inc", {"FlickerRed.=12", "FlickerRed."}, "12", "Flicker Red.      12"};
        QTest::addRow("- at 0")
            << Change{"Pan X Pos:", "dec", {"PanXPos:=-1", "PanXPos:"}, "-1", "Pan X Pos:        -1"};
        QTest::addRow("+ on a PAL U/scan item")
            << Change{"PU\\Out H-Centre:", "inc",
                      {"VideoStd", "Overscan", "Overscan=0", "OutH-Centre:=301", "Overscan=1",
                       "VideoStd", "Overscan", "Overscan=0", "OutH-Centre:", "Overscan=1"},
                      "301", "PU\\Out H-Centre:  301"};
        QTest::addRow("option already set") << Change{"Zoom", "feat1", {"Zoom"}, "1", "Zoom              1 (On)"};
        QTest::addRow("other option") << Change{"Zoom", "feat0", {"Zoom=0", "Zoom"}, "0", "Zoom              0 (Off)"};
        QTest::addRow("typed 7")
            << Change{"Flicker Red.", "7", {"FlickerRed.=7", "FlickerRed."}, "7", "Flicker Red.      7"};
        QTest::addRow("typed abc") << Change{"Flicker Red.", "abc", {}, "10", flicker};
        QTest::addRow("typed nothing") << Change{"Flicker Red.", "", {}, "10", flicker};
        QTest::addRow("index 0") << Change{"Flicker Red.", "index 0", {}, "10", flicker};
        QTest::addRow("index item_count() + 1") << Change{"Flicker Red.", "index past", {}, "10", flicker};
    }

    void changing_the_picked_item()
    {
        QFETCH(Change, change);
        Rig rig;
        connect_filled(rig, 1);
        click_line(rig, change.item);
        rig.unit.clear_sent();
        rig.operator_side.window_changes.clear();
        rig.view.highlighted = 0;
        const QStringList lines = rig.view.lines;

        const QString &action = change.action;
        if (action == "inc") {
            rig.panel.inc_Click();
        } else if (action == "dec") {
            rig.panel.dec_Click();
        } else if (action.startsWith("feat")) {
            rig.panel.feat_Click(action.back().digitValue());
        } else if (action.startsWith("index")) {
            rig.panel.set_item_value(action == "index 0" ? 0 : rig.catalogue.item_count() + 1, 5);
        } else {
            rig.view.value_text = action;
            rig.panel.item_value_LostFocus(action);
        }

        const bool sets = !change.wire.isEmpty();
        const int row = row_of(rig.view, change.item);
        QCOMPARE(rig.unit.sent(), test::wire_bytes(change.wire));
        QCOMPARE(rig.view.value_text, change.value_text);
        QCOMPARE(rig.view.caption, change.item);
        QCOMPARE(rig.view.lines.at(row), change.line);
        if (!sets)
            QCOMPARE(rig.view.lines, lines);
        QCOMPARE(rig.view.highlighted, sets ? row : 0);
        QCOMPARE(rig.operator_side.window_changes, sets ? QList<bool>({false, true}) : QList<bool>());
    }

    void values_without_an_option_data()
    {
        QTest::addColumn<double>("reported");
        QTest::addColumn<QString>("line");
        QTest::addRow("2 on Off,On") << 2.0 << "Zoom              2";
        QTest::addRow("-1") << -1.0 << "Zoom              -1";
        QTest::addRow("1e9") << 1e9 << "Zoom              1000000000";
    }

    void values_without_an_option()
    {
        QFETCH(double, reported);
        QFETCH(QString, line);
        // Keyer's four option texts are split before Zoom in a QUVEXkey Solo list.
        Rig rig;
        connect_filled(rig, 5, reported);
        QCOMPARE(rig.view.lines.at(row_of(rig.view, "Zoom ")), line);

        click_line(rig, "Keyer");
        click_line(rig, "Zoom ");
        QCOMPARE(rig.view.lines.at(rig.view.highlighted), line);
        QCOMPARE(rig.view.visible_options(), QStringList({"Off", "On"}));
    }
};

QTEST_GUILESS_MAIN(TestItemEditor)
#include "tst_item_editor.moc"
