// Saving a unit's values to the settings file, and loading them into another unit.
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/rig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex;
using test::Rig;

namespace {

// Moves every value the unit has away from its factory value, each picture set its own, and
// leaves the unit in PAL underscan.
void fill_unit(Rig &rig)
{
    double value = 10;
    for (int i = 1; i <= rig.catalogue.item_count(); ++i)
        rig.unit.set_value(QString(rig.catalogue.entry(i).name).remove(u' '), value += 1);
    for (int mode = 0; mode < 4; ++mode) {
        for (const char *name : {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"})
            rig.unit.set_picture_value(mode / 2, mode % 2, name, value += 1);
    }
    rig.unit.set_value("VideoStd", 1);
    rig.unit.set_value("Overscan", 0);
}

QByteArray save(Rig &rig, const QString &path)
{
    rig.settings_file(path).filesave_Click();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestSettingsSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void round_trip_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("items"); // every item the model has, headings aside
        QTest::addRow("QVL") << 1 << "QUVEXview Lite" << 37;
        QTest::addRow("QVM") << 2 << "QUVEXview Max" << 57;
        QTest::addRow("QVMX") << 3 << "QUVEXview Max X" << 46;
        QTest::addRow("QVMK") << 4 << "QUVEXview Max XK" << 50;
        QTest::addRow("QK1") << 5 << "QUVEXkey Solo" << 44;
        QTest::addRow("QK2") << 6 << "QUVEXkey Solo PCI/ISA" << 43;
    }

    // Saved, loaded into a unit of the same model at its factory values, and saved again: the
    // same file, so the load put every value of the file into the unit.
    void round_trip()
    {
        QFETCH(int, model);
        QFETCH(QString, name);
        QFETCH(int, items);
        QTemporaryDir dir;
        Rig saved(QTest::currentDataTag());
        fill_unit(saved);
        saved.panel.quvex_Click(model);
        const QByteArray bytes = save(saved, dir.filePath("first.cfg"));
        Rig loaded(QTest::currentDataTag());
        loaded.settings_file(dir.filePath("first.cfg")).fileopen_Click();

        QCOMPARE(save(loaded, dir.filePath("second.cfg")), bytes);
        QVERIFY(bytes.startsWith("\"QUVEX Control Panel\"\r\n1\r\n\"" + name.toLatin1()
                                 + "\"\r\n\"Overscan          \",0\r\n"));
        QVERIFY(bytes.endsWith("\r\n\"Video Std         \",1\r\n"));
        QCOMPARE(bytes.count("\r\n"), 3 + items);
        QVERIFY(saved.operator_side.messages.isEmpty() && loaded.operator_side.messages.isEmpty());
    }

    // The unit gave no number for Sense: the file says so rather than claim a 0.
    void value_without_a_number_is_saved_empty()
    {
        QTemporaryDir dir;
        Rig rig("QVL");
        rig.panel.quvex_Click(1);
        rig.unit.noisy_names = {"Sense"};
        const QByteArray bytes = save(rig, dir.filePath("quvex.cfg"));
        QVERIFY(bytes.contains("\r\n\"Sense             \",\r\n\"Sound             \",1\r\n"));
        QVERIFY(bytes.endsWith("\r\n\"Video Std         \",0\r\n"));
        QVERIFY(rig.operator_side.messages.isEmpty());
    }

    void failed_saves_leave_the_old_file_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("silent"); // else the unit does not know the item, part-way through
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("Dis-connected") << 0 << true << QStringList{"No unit has been selected."};
        QTest::addRow("unit goes silent part-way")
            << 1 << true << QStringList{test::kNoResponse, "Unable to complete Save."};
        QTest::addRow("unit does not know an item part-way")
            << 1 << false << QStringList{"Wrong QUVEX type selected.", "Unable to complete Save."};
    }

    void failed_saves_leave_the_old_file()
    {
        QFETCH(int, model);
        QFETCH(bool, silent);
        QTemporaryDir dir;
        const QString path = dir.filePath("quvex.cfg");
        const QByteArray previous = "\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n\"Overscan          \",1\r\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(previous) == previous.size());
        file.close();
        Rig rig("QVL");
        rig.panel.quvex_Click(model);
        (silent ? rig.unit.silent_names : rig.unit.unknown_names) = {"Sense"};

        QCOMPARE(save(rig, path), previous);
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.operator_side.window_enabled);
    }
};

QTEST_GUILESS_MAIN(TestSettingsSave)
#include "tst_settings_save.moc"
