// The unit's answers, byte for byte, as the panel sees them through the line framer.
#include "sim/line_framer.h"
#include "sim/unit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex::sim;

namespace {

QByteArray converse(Unit& unit, const QByteArray& sent)
{
    LineFramer framer;
    QByteArray answers;
    for (const Line& line : framer.feed(sent.toStdString()))
        answers += line.overlong ? QByteArray("?\n") : QByteArray::fromStdString(unit.handle(line.text));
    return answers;
}

} // namespace

class TestSimUnit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void state_file_loaded_data();
    void state_file_loaded();
    void stored_settings_survive_restart();
};

void TestSimUnit::answers_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("number read ends in CR LF") << "QVM" << QByteArray("VGALeft:\r") << QByteArray("128\r\n");
    QTest::addRow("write acknowledged by bare >") << "QVM" << QByteArray("Zoom=1\r") << QByteArray(">");
    QTest::addRow("negative and fraction kept")
        << "QVM" << QByteArray("PanXPos:=-3\rPanXPos:\rPanYPos:=1.25\rPanYPos:\r") << QByteArray(">-3\r\n>1.25\r\n");
    QTest::addRow("unknown read") << "QVM" << QByteArray("Bogus\r") << QByteArray("?\n");
    QTest::addRow("unknown write") << "QVM" << QByteArray("Bogus=1\r") << QByteArray("?\n");
    QTest::addRow("names are case sensitive") << "QVM" << QByteArray("videostd\r") << QByteArray("?\n");
    QTest::addRow("malformed values refused")
        << "QVM" << QByteArray("Zoom=\rZoom=1e3\rZoom=.5\rZoom=1-\r") << QByteArray("?\n?\n?\n?\n");
    QTest::addRow("LF and empty lines ignored") << "QVM" << QByteArray("\n\r\r\nVideoStd\r\n") << QByteArray("0\r\n");
    QTest::addRow("overlong line refused, next served")
        << "QVM" << QByteArray(300, 'A') + "\rVideoStd\r" << QByteArray("?\n0\r\n");
    QTest::addRow("option clamped to its list")
        << "QVM" << QByteArray("VideoStd=7\rVideoStd\r") << QByteArray(">1\r\n");
    QTest::addRow("VGA Left kept within a byte")
        << "QVM" << QByteArray("VGALeft:=300\rVGALeft:\r") << QByteArray(">255\r\n");
    QTest::addRow("measured item ignores writes")
        << "QVM" << QByteArray("TotalLines=100\rTotalLines\r") << QByteArray(">625\r\n");
    QTest::addRow("commands acknowledged")
        << "QVM" << QByteArray("Reset=1\rStoreSettings=1\rVGAStore=1\rAutoSet=1\r") << QByteArray(">>>>");
    QTest::addRow("command is not readable") << "QVM" << QByteArray("Reset\r") << QByteArray("?\n");
    QTest::addRow("QVM admits QVMK items") << "QVM" << QByteArray("Genlock\rSCPh.Shift\r") << QByteArray("0\r\n0\r\n");
    QTest::addRow("QVMX lacks QVL,QVM items") << "QVMX" << QByteArray("Clockwidth:\r") << QByteArray("?\n");
    QTest::addRow("QVL lacks QVMK items") << "QVL" << QByteArray("Genlock\r") << QByteArray("?\n");
    QTest::addRow("QK2 lacks Buttons") << "QK2" << QByteArray("Buttons\rDispCredits\r") << QByteArray("?\n0\r\n");
    QTest::addRow("no model has a baud rate") << "QVMK" << QByteArray("BaudRate\rRS232ID\r") << QByteArray("?\n?\n");
    QTest::addRow("QVM Sync Out has four options")
        << "QVM" << QByteArray("SyncOut=3\rSyncOut\r") << QByteArray(">3\r\n");
    QTest::addRow("QK1 Sync Out has two options")
        << "QK1" << QByteArray("SyncOut=3\rSyncOut\r") << QByteArray(">1\r\n");
    QTest::addRow("picture set follows Video Std")
        << "QVM" << QByteArray("VideoStd=1\rOutH-Centre:\r") << QByteArray(">520\r\n");
    QTest::addRow("picture set follows Overscan")
        << "QVM" << QByteArray("Overscan=1\rOutV-Height:\r") << QByteArray(">500\r\n");
    QTest::addRow("picture write stays in its set")
        << "QVM" << QByteArray("OutH-Width:=111\rVideoStd=1\rOutH-Width:\rVideoStd=0\rOutH-Width:\r")
        << QByteArray(">>720\r\n>111\r\n");
    QTest::addRow("Reset restores stored values")
        << "QVM" << QByteArray("VideoStd=1\rOutV-Centre:=7\rReset=1\rVideoStd\rOutV-Centre:\r")
        << QByteArray(">>>0\r\n256\r\n");
    QTest::addRow("StoreSettings survives Reset")
        << "QVM" << QByteArray("VideoStd=1\rStoreSettings=1\rVideoStd=0\rReset=1\rVideoStd\r")
        << QByteArray(">>>>1\r\n");
    QTest::addRow("AutoSet measures VGA") << "QVM" << QByteArray("AutoSet=1\rVGALeft:\r") << QByteArray(">136\r\n");
}

void TestSimUnit::answers()
{
    QFETCH(QString, model);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, expected);

    Unit unit(*parse_model(model.toStdString()));
    QCOMPARE(converse(unit, sent), expected);
}

void TestSimUnit::state_file_loaded_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("missing file gives factory values")
        << QByteArray() << QByteArray("VideoStd\r") << QByteArray("0\r\n");
    QTest::addRow("picture value lands in its set")
        << QByteArray("VideoStd=1\nOutH-Centre:@PAL=42\n") << QByteArray("OutH-Centre:\r") << QByteArray("42\r\n");
    QTest::addRow("damaged lines skipped")
        << QByteArray("Zoom=on\nnoise\n=3\nVideoStd=1\n") << QByteArray("Zoom\rVideoStd\r") << QByteArray("0\r\n1\r\n");
    QTest::addRow("Reset returns to loaded values")
        << QByteArray("Zoom=1\n") << QByteArray("Zoom=0\rReset=1\rZoom\r") << QByteArray(">>1\r\n");
}

void TestSimUnit::state_file_loaded()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, expected);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile file(folder.filePath("unit.state"));
    if (!content.isEmpty())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush());
    Unit unit(Model::Qvm, file.fileName().toStdString());
    QCOMPARE(converse(unit, sent), expected);
}

void TestSimUnit::stored_settings_survive_restart()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::string path = folder.filePath("unit.state").toStdString();
    std::string problems;
    const auto report = [&problems](const std::string& problem) { problems += problem; };
    {
        Unit unit(Model::Qvmk, path, report);
        QCOMPARE(converse(unit, "VideoStd=1\rOutH-Centre:=42\rStoreSettings=1\rZoom=1\r"), QByteArray(">>>>"));
    }
    Unit unit(Model::Qvmk, path, report);
    QCOMPARE(converse(unit, "VideoStd\rOutH-Centre:\rZoom\r"), QByteArray("1\r\n42\r\n0\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"unit.state"});
    QCOMPARE(problems, std::string());
}

QTEST_GUILESS_MAIN(TestSimUnit)
#include "tst_sim_unit.moc"
