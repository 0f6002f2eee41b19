// File › Compare on the core: which items count as different, and the compare's refusals.
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/rig.h"
#include "support/settings_bytes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quvex;

namespace {

using test::settings_pair;

const QByteArray kLite = test::settings_header("QUVEXview Lite");

} // namespace

class TestSettingsCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compare_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("offered"); // name, file value, unit value
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        QTest::addRow("one differs, one same, one empty in the file")
            << kLite + settings_pair("Flicker Red.", "4") + settings_pair("Zoom", "0") + settings_pair("Sense", "")
            << QStringList{"Flicker Red.|4|2"} << none;
        QTest::addRow("the unit gives no number")
            << kLite + settings_pair("Sense", "5") << none << QStringList{"The unit holds the values of the file."};
        QTest::addRow("unpadded, header, foreign, over-padded")
            << kLite + "\"Zoom\",1\r\n" + settings_pair(">Zoom", "1") + settings_pair("Keyer", "2")
                   + "\"Pan X Pos:          \",3\r\n"
            << QStringList{"Zoom|1|0"}
            << QStringList{
                   "These lines name no item of QUVEXview Lite and were not compared:\n>Zoom\nKeyer\nPan X Pos:"};
        QTest::addRow("one per video mode, in file order")
            << kLite + settings_pair("PO\\Out H-Centre:", "500") + settings_pair("NU\\Out H-Centre:", "-1.5")
            << QStringList{"PO\\Out H-Centre:|500|508", "NU\\Out H-Centre:|-1.5|512"} << none;
        QTest::addRow("file of another model")
            << test::settings_header("QUVEXview Max") + settings_pair("Zoom", "1") << none
            << QStringList{"The file is for QUVEXview Max, the unit is QUVEXview Lite."};
        QTest::addRow("damaged file") << kLite + settings_pair("Zoom", "1") + settings_pair("Sense", "x") << none
                                      << QStringList{"The settings file is damaged at \"Sense\"."};
        QTest::addRow("unit silent") << kLite + settings_pair("Zoom", "1") << none
                                     << QStringList{test::kNoResponse, "Unable to complete Compare."};
    }

    void compare()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("quvex.cfg");
        test::write_file(path, bytes);
        test::Rig rig("QVL");
        rig.unit.set_value("FlickerRed.", 2);
        rig.unit.set_picture_value(1, 1, "OutH-Centre:", 508);
        rig.unit.noisy_names = {"Sense"};
        rig.connect(1);
        if (QByteArray(QTest::currentDataTag()) == "unit silent")
            rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;

        QStringList offered;
        rig.settings_file(path).filecompare_Click([&](const QList<settings::Difference> &differences) {
            for (const settings::Difference &d : differences)
                offered.append(QStringLiteral("%1|%2|%3").arg(d.name).arg(d.file).arg(d.unit));
            return std::nullopt;
        });
        QTEST(offered, "offered");
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.unit.sent_lines().filter("=").filter(QRegularExpression("^(?!VideoStd=|Overscan=)")).isEmpty());
        QVERIFY(rig.unit.video_std() == 0 && rig.unit.overscan() == 0 && rig.operator_side.window_enabled);
    }
};

QTEST_GUILESS_MAIN(TestSettingsCompare)
#include "tst_settings_compare.moc"
