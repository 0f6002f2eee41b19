// The protocol corner cases a panel relies on, byte for byte through the line framer.
#include "sim/line_framer.h"
#include "sim/unit.h"

#include <QTest>

class TestSimUnit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestSimUnit::answers_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("read ends in CR LF") << "QVM" << QByteArray("VGALeft:\r") << QByteArray("128\r\n");
    QTest::addRow("write acknowledged by bare >") << "QVM" << QByteArray("Zoom=1\r") << QByteArray(">");
    QTest::addRow("unknown name") << "QVM" << QByteArray("Bogus\rBogus=1\r") << QByteArray("?\n?\n");
    QTest::addRow("LF and empty lines ignored") << "QVM" << QByteArray("\n\r\r\nVideoStd\r\n") << QByteArray("0\r\n");
    QTest::addRow("overlong line refused") << "QVM" << QByteArray(300, 'A') + "\rVideoStd\r" << QByteArray("?\n0\r\n");
    QTest::addRow("QVM knows QVMK items") << "QVM" << QByteArray("Genlock\r") << QByteArray("0\r\n");
    QTest::addRow("QVMX lacks QVL,QVM items") << "QVMX" << QByteArray("Clockwidth:\r") << QByteArray("?\n");
    QTest::addRow("VideoStd picks set") << "QVM" << QByteArray("VideoStd=1\rOutH-Centre:\r") << QByteArray(">520\r\n");
    QTest::addRow("Overscan picks set") << "QVM" << QByteArray("Overscan=1\rOutV-Height:\r") << QByteArray(">500\r\n");
    QTest::addRow("Reset restores stored")
        << "QVM" << QByteArray("VideoStd=1\rOutV-Centre:=7\rReset=1\rVideoStd\rOutV-Centre:\r")
        << QByteArray(">>>0\r\n256\r\n");
    QTest::addRow("StoreSettings survives Reset")
        << "QVM" << QByteArray("VideoStd=1\rStoreSettings=1\rVideoStd=0\rReset=1\rVideoStd\r")
        << QByteArray(">>>>1\r\n");
}

void TestSimUnit::answers()
{
    QFETCH(QString, model);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, expected);

    quvex::sim::Unit unit(*quvex::sim::parse_model(model.toStdString()));
    quvex::sim::LineFramer framer;
    QByteArray answers;
    for (const auto &line : framer.feed(sent.toStdString()))
        answers += line.overlong ? QByteArray("?\n") : QByteArray::fromStdString(unit.handle(line.text));
    QCOMPARE(answers, expected);
}

QTEST_GUILESS_MAIN(TestSimUnit)
#include "tst_sim_unit.moc"
