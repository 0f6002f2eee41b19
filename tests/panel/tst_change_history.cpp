// What each operator action changed, taken back and done again through the path of any change;
// the lock that keeps changes from the unit.
#include "support/messages.h"
#include "support/rig.h"
#include "support/settings_bytes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quvex;

namespace {

// The rig connected to a QUVEXview Max, with the history's steps and ends recorded.
struct HistoryRig : test::Rig
{
    HistoryRig()
    {
        panel.history().set_hooks([this](const panel::ChangeStep &step) { steps.append(step); },
                                  [this](const QString &reason) { ends.append(reason); });
        connect(2);
        ends.clear();
    }
    // Steps: "pick <line>", "type <text>", "inc", "feat<n>", "Command<n>", "load <file bytes>",
    // "reset", "auto set", "model <n>", "unknown <line>" (its value forgotten).
    void act(const QString &action)
    {
        const QString argument = action.section(u' ', 1);
        if (action.startsWith("pick "))
            panel.menu_list_Click(row_of(argument));
        else if (action.startsWith("type "))
            panel.item_value_LostFocus(argument);
        else if (action == "inc")
            panel.inc_Click();
        else if (action.startsWith("feat"))
            panel.feat_Click(action.back().digitValue());
        else if (action == "Command3")
            panel.Command3_Click();
        else if (action.startsWith("load ")) {
            test::write_file(folder.filePath("load.cfg"), argument.toLatin1().replace("|", "\r\n"));
            settings_file(folder.filePath("load.cfg")).open_from(folder.filePath("load.cfg"));
        } else if (action == "reset")
            panel.reset_unit_Click();
        else if (action == "auto set")
            panel.Command24_Click();
        else if (action.startsWith("model "))
            panel.quvex_Click(argument.toInt());
        else if (action.startsWith("unknown "))
            catalogue.entry(index_of(argument)).value = {};
    }
    QTemporaryDir folder;
    QList<panel::ChangeStep> steps;
    QStringList ends;
};

} // namespace

class TestChangeHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undo_and_redo_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("undo"); // the lines on the wire
        QTest::addColumn<QString>("redo");
        QTest::addRow("typed value") << "pick Flicker Red., type 7"
                                     << "Flicker Red. 3 → 7"
                                     << "FlickerRed.=3 FlickerRed."
                                     << "FlickerRed.=7 FlickerRed.";
        QTest::addRow("plus, step of two") << "pick Flicker Red., inc"
                                           << "Flicker Red. 3 → 5"
                                           << "FlickerRed.=3 FlickerRed."
                                           << "FlickerRed.=5 FlickerRed.";
        QTest::addRow("picture button in its mode")
            << "Command3"
            << "NU\\Out H-Centre: 512 → 513"
            << "VideoStd Overscan OutH-Centre:=512 VideoStd Overscan OutH-Centre:"
            << "VideoStd Overscan OutH-Centre:=513 VideoStd Overscan OutH-Centre:";
        QTest::addRow("file load, last item first")
            << "load \"QUVEX Control Panel\"|1|\"QUVEXview Max\"|\"Flicker Red.      \",7|\"Zoom              \",1|"
            << "Loading: 2 items"
            << "Zoom=0 Zoom FlickerRed.=3 FlickerRed."
            << "FlickerRed.=7 FlickerRed. Zoom=1 Zoom";
    }

    // Each taken back through the same path as any change and read back, then done again.
    void undo_and_redo()
    {
        QFETCH(QString, actions);
        HistoryRig rig;
        for (const QString &action : actions.split(", "))
            rig.act(action);
        QCOMPARE(rig.steps.size(), 1);
        QTEST(rig.steps.constFirst().text(), "step");
        const QList<panel::ItemChange> items = rig.steps.constFirst().items;
        for (const bool undo : {true, false}) {
            rig.unit.clear_sent();
            QCOMPARE(rig.panel.take_back(items, undo), QList<panel::ItemChange>());
            QTEST(rig.unit.sent_lines().join(' '), undo ? "undo" : "redo");
        }
        QCOMPARE(rig.steps.size(), 1); // taking back is no new step
        QVERIFY(rig.ends.isEmpty() && rig.operator_side.messages.isEmpty());
    }

    // The unit stops answering halfway through: what it took is done with, the rest stays.
    void partly_refused_undo_keeps_the_rest()
    {
        HistoryRig rig;
        rig.act("load \"QUVEX Control Panel\"|1|\"QUVEXview Max\"|\"Flicker Red.      \",7|\"Zoom              \",1|"
                "\"Pan X Pos:        \",4|");
        QCOMPARE(rig.steps.constFirst().text(), "Loading: 3 items");
        rig.unit.silent_names = {"Zoom"};
        rig.unit.clear_sent();
        const QList<panel::ItemChange> left = rig.panel.take_back(rig.steps.constFirst().items, true);
        QCOMPARE(rig.unit.sent_lines().join(' ').section(' ', 0, 2), "PanXPos:=0 PanXPos: Zoom=0");
        QCOMPARE(left.size(), 2);
        QCOMPARE((panel::ChangeStep{"Loading", left}.text()), "Loading: 2 items");
        QCOMPARE(rig.operator_side.message_texts(), QStringList({test::kNoResponse, "Not undone: Flicker Red., Zoom"}));
        rig.unit.silent_names.clear();
        rig.unit.clear_sent();
        QCOMPARE(rig.panel.take_back(left, true), QList<panel::ItemChange>());
        QCOMPARE(rig.unit.sent_lines().join(' '), "Zoom=0 Zoom FlickerRed.=3 FlickerRed.");
    }

    void history_ends_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("ends"); // the reasons, in order
        QTest::addColumn<int>("steps");
        QTest::addRow("reset") << "pick Zoom , feat1, reset" << QStringList{"Reset unit"} << 1;
        QTest::addRow("auto set") << "auto set" << QStringList{"Auto Set"} << 0;
        QTest::addRow("old value unknown")
            << "pick Flicker Red., unknown Flicker Red., type 9" << QStringList{"Flicker Red. was unknown"} << 0;
        QTest::addRow("another model") << "pick Zoom , feat1, model 3" << QStringList{""} << 1;
        QTest::addRow("disconnected") << "model 0" << QStringList{""} << 0;
        QTest::addRow("the same model again") << "pick Zoom , feat1, model 2" << QStringList{} << 1;
        QTest::addRow("after the end, a new step") << "reset, pick Zoom , feat1" << QStringList{"Reset unit"} << 1;
    }

    void history_ends()
    {
        QFETCH(QString, actions);
        HistoryRig rig;
        for (const QString &action : actions.split(", "))
            rig.act(action);
        QTEST(rig.ends, "ends");
        QTEST(int(rig.steps.size()), "steps");
    }

    // Locked, each path that would change the unit sends nothing and says so on the status line;
    // reads still go, and a typed value goes back to the unit's.
    void lock_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("wire");
        QTest::addRow("typed") << "pick Flicker Red., type 9"
                               << "FlickerRed.";
        QTest::addRow("plus") << "pick Flicker Red., inc"
                              << "FlickerRed.";
        QTest::addRow("option") << "pick Zoom , feat1"
                                << "Zoom";
        QTest::addRow("picture button") << "Command3"
                                        << "";
        QTest::addRow("auto set, reset") << "auto set, reset"
                                         << "";
        QTest::addRow("load") << "load \"QUVEX Control Panel\"|1|\"QUVEXview Max\"|"
                              << "";
    }

    void lock()
    {
        QFETCH(QString, actions);
        HistoryRig rig;
        rig.panel.changes().set_locked(true);
        for (const QString &action : actions.split(", "))
            rig.act(action);
        rig.panel.write_unit_Click();
        rig.panel.store_settings_Click();
        rig.panel.vga_store_Click();
        rig.panel.set_named_item("Flicker Red.", 9); // as a file's item or an undo reaches it
        QTEST(rig.unit.sent_lines().join(' '), "wire");
        QCOMPARE(rig.view.caption + " = " + rig.view.value_text, "Flicker Red. = 3"); // the unit's value
        QVERIFY(!rig.operator_side.hints.isEmpty());
        QCOMPARE(rig.operator_side.hints.filter("Changes are locked: Edit › Lock changes").size(),
                 rig.operator_side.hints.size());
        QVERIFY(rig.operator_side.messages.isEmpty() && rig.steps.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestChangeHistory)
#include "tst_change_history.moc"
