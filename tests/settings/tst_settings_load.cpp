// Loading settings files that are not, or not quite, what a save writes.
#include "settings/settings_file.h"
#include "support/rig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex;
using test::Rig;

namespace {

const QString kNotOurs = "This is not a QUVEX Control Panel file.";

QByteArray header(const QByteArray &model, const QByteArray &version = "1")
{
    return "\"QUVEX Control Panel\"\r\n" + version + "\r\n\"" + model + "\"\r\n";
}

QByteArray pair(const QByteArray &name, const QByteArray &value)
{
    return '"' + name.leftJustified(18, ' ') + "\"," + value + "\r\n";
}

QString damaged(const QString &name)
{
    return QStringLiteral("The settings file is damaged at \"%1\"; the rest of it was not loaded.").arg(name);
}

// Connects a QUVEXview Lite with Flicker Red. at 10 and loads bytes into it, from no file at all when they are
// null. Gives the path as messages show it.
QString connect_and_load(Rig &rig, const QByteArray &bytes)
{
    rig.unit.set_value("FlickerRed.", 10);
    rig.panel.quvex_Click(1);
    rig.unit.clear_sent();
    rig.operator_side.messages.clear();
    QTemporaryDir dir;
    const QString path = dir.filePath("quvex.cfg");
    QFile file(path);
    if (!bytes.isNull() && (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    settings::SettingsFile(rig.panel, path).fileopen_Click();
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
        QTest::addRow("empty file") << QByteArray("") << kNotOurs;
        QTest::addRow("identifier in lower case")
            << QByteArray("\"quvex control panel\"\r\n1\r\n\"QUVEXview Lite\"\r\n") << kNotOurs;
        QTest::addRow("version 2")
            << header("QUVEXview Lite", "2") + pair("Flicker Red.", "4") << "Unknown file version.";
        QTest::addRow("ends before the model") << QByteArray("\"QUVEX Control Panel\"\r\n1\r\n") << kNotOurs;
        QTest::addRow("unknown model")
            << header("QUVEXview Max Y") + pair("Flicker Red.", "4") << "Unknown QUVEX type.";
        QByteArray junk(64 * 1024, '\0');
        for (qsizetype i = 0; i < junk.size(); ++i)
            junk[i] = static_cast<char>((quint32(i) * 2654435761u) >> 24);
        QTest::addRow("binary junk") << junk << kNotOurs;
        QTest::addRow("2 MiB file") << header("QUVEXview Lite") + QByteArray(2 << 20, ' ') << kNotOurs;
        QTest::addRow("100 KiB first line")
            << QByteArray(100 * 1024, 'Q') + "\r\n1\r\n\"QUVEXview Lite\"\r\n" << kNotOurs;
    }

    void refused_files()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Rig rig;
        Rig unloaded;
        unloaded.unit.set_value("FlickerRed.", 10);
        unloaded.panel.quvex_Click(1);
        const QString path = connect_and_load(rig, bytes);

        QCOMPARE(rig.operator_side.message_texts(), QStringList{message.replace("<path>", path)});
        QVERIFY(rig.unit.sent().isEmpty());
        QVERIFY(rig.model.index() == 1 && rig.view.model_button == 1);
        QCOMPARE(rig.view.lines, message == "Unknown QUVEX type." ? QStringList() : unloaded.view.lines);
    }

    void files_without_items_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("model");
        QTest::addRow("QUVEXview Max X") << header("QUVEXview Max X") << 3;
        QTest::addRow("QUVEXview Max") << header("QUVEXview Max") << 2;
        QTest::addRow("QUVEXkey Solo PCI/ISA, blank lines after") << header("QUVEXkey Solo PCI/ISA") + "\r\n\r\n" << 6;
    }

    void files_without_items()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        Rig rig;
        connect_and_load(rig, bytes);
        Rig chosen;
        chosen.unit.set_value("FlickerRed.", 10);
        chosen.panel.quvex_Click(model);

        QVERIFY(rig.model.index() == model && rig.view.model_button == model);
        QVERIFY(rig.operator_side.messages.isEmpty());
        QCOMPARE(rig.unit.sent_lines(), chosen.unit.sent_lines());
        QCOMPARE(rig.view.lines, chosen.view.lines);
    }

    void broken_or_foreign_pairs_data()
    {
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<double>("flicker");
        const QByteArray overscan = pair("Overscan", "1");
        QTest::addRow("value abc") << overscan + pair("Image Freeze", "abc") + pair("Flicker Red.", "4")
                                   << QStringList{damaged("Image Freeze")} << 10.0;
        QTest::addRow("file ends after a name")
            << overscan + "\"Flicker Red.      \"" << QStringList{damaged("Flicker Red.")} << 10.0;
        QTest::addRow("name of another model")
            << overscan + pair("Keyer", "2") + pair("Flicker Red.", "4") << QStringList{} << 4.0;
        QTest::addRow("empty value") << overscan + pair("Flicker Red.", "") << QStringList{} << 10.0;
        QTest::addRow("100 KiB name") << overscan + pair(QByteArray(100 * 1024, 'X'), "1") + pair("Flicker Red.", "4")
                                      << QStringList{} << 4.0;
    }

    void broken_or_foreign_pairs()
    {
        QFETCH(QByteArray, items);
        QFETCH(QStringList, messages);
        QFETCH(double, flicker);
        Rig rig;
        connect_and_load(rig, header("QUVEXview Lite") + items);

        QCOMPARE(rig.operator_side.message_texts(), messages);
        QCOMPARE(rig.model.index(), 1);
        QCOMPARE(rig.unit.overscan(), 1);
        QCOMPARE(rig.unit.value("FlickerRed."), flicker);
        for (const QString &line : rig.unit.sent_lines())
            QVERIFY2(!line.startsWith("Keyer") && !line.startsWith("XXX") && !line.startsWith("ImageFreeze="),
                     qPrintable(line));
    }

    // A file cut short inside the picture groups must not leave the unit in the last group's mode.
    void cut_inside_the_picture_groups_gives_the_unit_its_mode_back()
    {
        Rig rig;
        rig.unit.set_value("VideoStd", 1);
        connect_and_load(rig, header("QUVEXview Lite") + pair("NU\\Out H-Centre:", "600") + pair("PO\\Out V-Centre:", "301"));
        QCOMPARE(rig.unit.picture_value(0, 0, "OutH-Centre:"), 600.0);
        QCOMPARE(rig.unit.picture_value(1, 1, "OutV-Centre:"), 301.0);
        QCOMPARE(rig.unit.video_std(), 1);
        QCOMPARE(rig.unit.overscan(), 0);
        QVERIFY(rig.operator_side.messages.isEmpty());
    }

    void unknown_model_leaves_a_usable_list()
    {
        Rig rig;
        connect_and_load(rig, header("QUVEXview Max Y"));
        QVERIFY(rig.view.lines.isEmpty());
        // The panel may only place item lines on rows the list has.
        QCOMPARE(rig.panel.list_state().list_line_count, rig.view.lines.size());

        rig.panel.Command11_Click();
        QCOMPARE(rig.unit.sent_lines(), QStringList({"PanXPos:=1", "PanXPos:"}));
        QVERIFY(rig.view.lines.contains("Pan X Pos:        1"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsLoad)
#include "tst_settings_load.moc"
