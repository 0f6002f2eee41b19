// What each operator action changed, taken back and done again through the path of any change.
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
    // Steps: "pick <line>", "type <text>", "load <file bytes>", "model <n>", "unknown <line>" (its
    // value forgotten), else a control's handler.
    void act(const QString &action)
    {
        static const std::map<QString, void (panel::Panel::*)()> kHandlers{
            {"inc", &panel::Panel::inc_Click},
            {"Command3", &panel::Panel::Command3_Click},
            {"reset", &panel::Panel::reset_unit_Click},
            {"auto set", &panel::Panel::Command24_Click}};
        const QString argument = action.section(u' ', 1);
        const QString load = folder.filePath("load.cfg");
        if (action.startsWith("pick "))
            panel.menu_list_Click(row_of(argument));
        else if (action.startsWith("type "))
            panel.item_value_LostFocus(argument);
        else if (action.startsWith("load ")) {
            test::write_file(load, argument.toLatin1().replace("|", "\r\n"));
            settings_file(load).open_from(load);
        } else if (action.startsWith("model "))
            panel.quvex_Click(argument.toInt());
        else if (action.startsWith("unknown "))
            catalogue.entry(index_of(argument)).value = {};
        else
            (panel.*kHandlers.at(action))();
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
        QTest::addRow("reset") << "pick Zoom , type 1, reset" << QStringList{"Reset unit"} << 1;
        QTest::addRow("auto set") << "auto set" << QStringList{"Auto Set"} << 0;
        QTest::addRow("old value unknown")
            << "pick Flicker Red., unknown Flicker Red., type 9" << QStringList{"Flicker Red. was unknown"} << 0;
        QTest::addRow("another model") << "pick Zoom , type 1, model 3" << QStringList{""} << 1;
        QTest::addRow("disconnected") << "model 0" << QStringList{""} << 0;
        QTest::addRow("the same model again") << "pick Zoom , type 1, model 2" << QStringList{} << 1;
        QTest::addRow("after the end, a new step") << "reset, pick Zoom , type 1" << QStringList{"Reset unit"} << 1;
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
};

QTEST_GUILESS_MAIN(TestChangeHistory)
#include "tst_change_history.moc"
