// Loading settings files that are not, or not quite, what a save writes.
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/rig.h"
#include "support/settings_bytes.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex;

namespace {

const QString kNotOurs = "This is not a QUVEX Control Panel file.";

using test::settings_header;
using test::settings_pair;

const QByteArray kLite = settings_header("QUVEXview Lite");
const QByteArray kFlicker = settings_pair("Flicker Red.", "4");

// Connects a QUVEXview Lite and loads bytes (no file at all when null); gives the path as messages show it.
QString connect_and_load(test::Rig &rig, const QByteArray &bytes)
{
    rig.connect(1);
    QTemporaryDir dir;
    const QString path = dir.filePath("quvex.cfg");
    if (!bytes.isNull())
        test::write_file(path, bytes);
    rig.settings_file(path).fileopen_Click();
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestSettingsLoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refused_files_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addRow("file missing") << QByteArray() << "Could not open file <path>";
        QTest::addRow("identifier in lower case")
            << QByteArray("\"quvex control panel\"\r\n1\r\n\"QUVEXview Lite\"\r\n") + kFlicker << kNotOurs;
        QTest::addRow("version 2") << settings_header("QUVEXview Lite", "2") + kFlicker << "Unknown file version.";
        QTest::addRow("ends before the model") << QByteArray("\"QUVEX Control Panel\"\r\n1\r\n") << kNotOurs;
        QTest::addRow("unknown model") << settings_header("QUVEXview Max Y") + kFlicker << "Unknown QUVEX type.";
        QTest::addRow("2 MiB file") << kLite + kFlicker + QByteArray(2 << 20, ' ') << kNotOurs;
        QTest::addRow("1001 pairs") << kLite + kFlicker.repeated(1001) << kNotOurs;
    }

    void refused_files()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        test::Rig rig;
        const QString path = connect_and_load(rig, bytes);

        QCOMPARE(rig.operator_side.message_texts(), QStringList{message.replace("<path>", path)});
        QVERIFY(rig.model.index() == 1 && rig.view.model_button == 1);
        QCOMPARE(rig.view.lines.size(),
                 message == "Unknown QUVEX type." ? 0 : 44); // QUVEXview Lite: 37 items, 7 headings
        // Nothing was sent, and the list stays usable: a button still places the item's line.
        rig.panel.Command11_Click();
        QCOMPARE(rig.unit.sent_lines(), QStringList({"PanXPos:=1", "PanXPos:"}));
        QVERIFY(rig.view.lines.contains("Pan X Pos:        1"));
    }

    // Files from other hands: damaged ones, those for another unit, and those an editor or a person
    // has been at.
    void files_from_elsewhere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("writes");
        const QString damaged = "The settings file is damaged at \"%1\"; the rest of it was not loaded.";
        const QString unknown = "These lines name no item of QUVEXview Lite and were not loaded:\n";
        const QStringList none;
        QTest::addRow("value abc") << kLite + settings_pair("Image Freeze", "abc") + kFlicker
                                   << QStringList{damaged.arg("Image Freeze")} << none;
        QTest::addRow("ends after a name")
            << kLite + "\"Flicker Red.\"" << QStringList{damaged.arg("Flicker Red.")} << none;
        // The unit reads as another model: its warning, and nothing of the file.
        QTest::addRow("a model the unit is not")
            << settings_header("QUVEXkey Solo") + settings_pair("Keyer", "2") << QStringList{test::kWrongType} << none;
        QTest::addRow("empty value") << kLite + settings_pair("Flicker Red.", "") << none << none;
        QTest::addRow("byte-order mark") << "\xEF\xBB\xBF" + kLite + kFlicker << none << QStringList{"FlickerRed.=4"};
        QTest::addRow("no items: another model's, letter case, a heading, over-padded, NUL and ESC; a blank line")
            << kLite + settings_pair("Keyer", "2") + "\r\n" + settings_pair("flicker red.", "4")
                   + settings_pair(">Zoom", "1") + "\"Pan X Pos:          \",3\r\n\"K\xE9y" + '\0' + "\x1B\",2\r\n"
                   + kFlicker
            << QStringList{unknown + "Keyer\nflicker red.\n>Zoom\nPan X Pos:\nK\u00E9y<00><1B>"}
            << QStringList{"FlickerRed.=4"};
        QTest::addRow("value 1e300") << kLite + settings_pair("Flicker Red.", "1e300")
                                     << QStringList{damaged.arg("Flicker Red.")} << none;
        QTest::addRow("16 significant digits") << kLite + settings_pair("Flicker Red.", "4.000000000000001")
                                               << QStringList{damaged.arg("Flicker Red.")} << none;
        QTest::addRow("no item, then 1e15")
            << kLite + settings_pair("Keyer", "2") + kFlicker + settings_pair("Pan X Pos:", "1000000000000000")
            << QStringList{unknown + "Keyer", damaged.arg("Pan X Pos:")} << QStringList{"FlickerRed.=4"};
        QTest::addRow("text after closing quotes")
            << QByteArray("\"QUVEX Control Panel\"junk,1,\"QUVEXview Lite\"x\r\n\"Flicker Red.\" ,4\r\n") << none
            << QStringList{"FlickerRed.=4"};
        QTest::addRow("1000 pairs") << kLite + kFlicker.repeated(1000) << none << QStringList{"FlickerRed.=4"};
    }

    void files_from_elsewhere()
    {
        QFETCH(QByteArray, bytes);
        test::Rig rig;
        connect_and_load(rig, bytes);

        QTEST(rig.operator_side.message_texts(), "messages");
        // Choosing the file's model reads the unit again, with its mode switches; any other write is a load.
        static const QRegularExpression kLoadWrite(QStringLiteral("^(?!VideoStd=|Overscan=).*="));
        QTEST(rig.unit.sent_lines().filter(kLoadWrite), "writes");
    }

    // A file cut short inside the picture groups must not leave the unit in the last group's mode.
    void cut_inside_the_picture_groups_gives_the_unit_its_mode_back()
    {
        test::Rig rig;
        rig.unit.set_value("VideoStd", 1);
        connect_and_load(rig,
                         kLite + settings_pair("NU\\Out H-Centre:", "600") + settings_pair("PO\\Out V-Centre:", "301"));
        QCOMPARE(rig.unit.picture_value(0, 0, "OutH-Centre:"), 600.0);
        QCOMPARE(rig.unit.picture_value(1, 1, "OutV-Centre:"), 301.0);
        QVERIFY(rig.unit.video_std() == 1 && rig.unit.overscan() == 0 && rig.operator_side.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsLoad)
#include "tst_settings_load.moc"
