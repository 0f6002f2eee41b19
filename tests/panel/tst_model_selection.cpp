// Choosing the unit model: the port, the list and the unit-type buttons.
#include "rig_helpers.h"

#include <QTest>

namespace {

struct Choice
{
    QList<int> clicks;
    bool refuse_open;
    int model;
    QString name;
    QStringList messages;
    int opens;
    int lines;
};

} // namespace

Q_DECLARE_METATYPE(Choice)

class TestModelSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choosing_models_data()
    {
        QTest::addColumn<Choice>("choice");
        QTest::addRow("start") << Choice{{}, false, 0, "Dis-connected", {}, 0, 0};
        QTest::addRow("port cannot be opened")
            << Choice{{1}, true, 0, "Dis-connected", {"Could not open COM port - please check COM port number."}, 0, 0};
        QTest::addRow("dis-connected while open")
            << Choice{{1, 0}, false, 0, "Dis-connected", {"COM port closed."}, 1, 0};
        QTest::addRow("Max, then Solo") << Choice{{2, 5}, false, 5, "QUVEXkey Solo", {}, 1, 52};
        QTest::addRow("out of range ignored") << Choice{{3, -1, 7}, false, 3, "QUVEXview Max X", {}, 1, 53};
    }

    void choosing_models()
    {
        QFETCH(Choice, choice);
        quvex::test::Rig rig;
        rig.unit.refuse_open = choice.refuse_open;
        for (const int click : choice.clicks)
            rig.panel.quvex_Click(click);

        QCOMPARE(rig.model.index(), choice.model);
        QCOMPARE(rig.model.name(), choice.name);
        QCOMPARE(rig.view.model_button, choice.model);
        QCOMPARE(rig.operator_side.message_texts(), choice.messages);
        QCOMPARE(rig.unit.open_count(), choice.opens);
        QCOMPARE(rig.unit.is_open(), choice.model != 0);
        QCOMPARE(rig.view.lines.size(), choice.lines);
        if (choice.model == 5)
            QVERIFY(quvex::test::row_of(rig.view, "Keyer ") > 0 && quvex::test::row_of(rig.view, "ADC Ref.") == -1);
    }
};

QTEST_GUILESS_MAIN(TestModelSelection)
#include "tst_model_selection.moc"
