// Telling the six models apart by which probe items the unit knows, on virtual time.
#include "cli/detection.h"
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;

class TestDetection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void detect_data()
    {
        QTest::addColumn<QStringList>("unknown"); // wire names the unit answers "?" to
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("model"); // empty: none fits
        QTest::addRow("QVL") << QStringList{"Genlock", "Keyer"} << false << "QVL";
        QTest::addRow("QVM") << QStringList{"Keyer"} << false << "QVM";
        QTest::addRow("QVMX") << QStringList{"Genlock", "Keyer", "Clockwidth:"} << false << "QVMX";
        QTest::addRow("QVMK") << QStringList{"Keyer", "Clockwidth:"} << false << "QVMK";
        QTest::addRow("QK1") << QStringList{"Genlock", "Clockwidth:"} << false << "QK1";
        QTest::addRow("QK2") << QStringList{"Genlock", "Buttons", "Clockwidth:"} << false << "QK2";
        QTest::addRow("all unknown") << QStringList{"Genlock", "Buttons", "Keyer", "Clockwidth:"} << false << "";
        QTest::addRow("only Clock width: known") << QStringList{"Genlock", "Buttons", "Keyer"} << false << "";
        QTest::addRow("all known") << QStringList{} << false << "";
        QTest::addRow("unit silent") << QStringList{} << true << "";
    }

    void detect()
    {
        QFETCH(QStringList, unknown);
        QFETCH(bool, silent);
        test::Rig rig;
        rig.link.open_port();
        rig.unit.unknown_names = QSet<QString>(unknown.cbegin(), unknown.cend());
        if (silent)
            rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;

        const cli::Detection detection = cli::detect_model(rig.link, rig.catalogue);
        QCOMPARE(detection.answered, !silent);
        QTEST(detection.model_index ? catalogue::unit_models()[std::size_t(detection.model_index)].code : QString(),
              "model");
        // Only reads, and the first unit failure ends it.
        QCOMPARE(rig.unit.sent_lines(),
                 silent ? QStringList{"Genlock"} : QStringList({"Genlock", "Buttons", "Keyer", "Clockwidth:"}));
        QCOMPARE(rig.operator_side.message_texts().contains(test::kNoResponse), silent);
    }
};

QTEST_GUILESS_MAIN(TestDetection)
#include "tst_detection.moc"
