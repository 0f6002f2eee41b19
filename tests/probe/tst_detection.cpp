// Telling the six models apart by which probe items the unit knows, on virtual time.
#include "probe/detection.h"
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
        QTest::addColumn<QString>("unit");  // the model of the unit on the line
        QTest::addColumn<QString>("fault"); // "silent", "all unknown", else a name the unit refuses
        QTest::addColumn<QString>("model"); // empty: none fits
        for (const char *code : {"QVL", "QVM", "QVMX", "QVMK", "QK1", "QK2"})
            QTest::addRow("%s", code) << code << "" << code;
        QTest::addRow("answers ? to everything") << "QVM"
                                                 << "all unknown"
                                                 << "";
        QTest::addRow("answers fit no model") << "QVM"
                                              << "Buttons"
                                              << "";
        QTest::addRow("unit silent") << "QVM"
                                     << "silent"
                                     << "";
    }

    void detect()
    {
        QFETCH(QString, unit);
        QFETCH(QString, fault);
        test::Rig rig(unit.toStdString());
        rig.link.open_port();
        if (fault == "silent")
            rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        else if (fault == "all unknown")
            rig.unit.behaviour = test::FakeUnit::Behaviour::AnswerUnknown;
        else if (!fault.isEmpty())
            rig.unit.unknown_names = {fault};

        const probe::Detection detection = probe::detect_model(rig.link);
        QCOMPARE(detection.answered, fault != "silent");
        QTEST(detection.model_index ? catalogue::unit_models()[std::size_t(detection.model_index)].code : QString(),
              "model");
        // Only reads, and the first unit failure ends it.
        QCOMPARE(rig.unit.sent_lines(), fault == "silent"
                                            ? QStringList{"Genlock"}
                                            : QStringList({"Genlock", "Buttons", "Keyer", "Clockwidth:"}));
        // The "?" answers are the point of detection: they are not shown as a wrong model.
        QCOMPARE(rig.operator_side.message_texts(), fault == "silent" ? QStringList{test::kNoResponse} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestDetection)
#include "tst_detection.moc"
