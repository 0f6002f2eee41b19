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

// Gives every item a value of its own from base, and each of the four picture sets its own.
void fill_unit(Rig &rig, double base, int video_std, int overscan)
{
    for (int i = 1; i <= rig.catalogue.item_count(); ++i)
        rig.unit.set_value(QString(rig.catalogue.entry(i).name).remove(u' '), base + i);
    for (int mode = 0; mode < 4; ++mode) {
        for (const char *name : {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"})
            rig.unit.set_picture_value(mode / 2, mode % 2, name, base += 1);
    }
    rig.unit.set_value("VideoStd", video_std);
    rig.unit.set_value("Overscan", overscan);
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
        for (int model = 1; model < catalogue::kUnitModelCount; ++model)
            QTest::addRow("%s", qPrintable(catalogue::unit_models()[static_cast<std::size_t>(model)].code)) << model;
    }

    // Saved, loaded into a unit with other values and another model chosen, and saved again: the same file.
    void round_trip()
    {
        QFETCH(int, model);
        QTemporaryDir dir;
        Rig saved;
        fill_unit(saved, 10, 1, 0);
        saved.panel.quvex_Click(model);
        const QByteArray bytes = save(saved, dir.filePath("first.cfg"));
        Rig loaded;
        fill_unit(loaded, 150, 0, 1);
        loaded.panel.quvex_Click(model % (catalogue::kUnitModelCount - 1) + 1);
        loaded.settings_file(dir.filePath("first.cfg")).fileopen_Click();

        QCOMPARE(save(loaded, dir.filePath("second.cfg")), bytes);
        const QByteArray name = catalogue::unit_models()[static_cast<std::size_t>(model)].display_name.toLatin1();
        QVERIFY(bytes.startsWith("\"QUVEX Control Panel\"\r\n1\r\n\"" + name + "\"\r\n\"Overscan          \",0\r\n"));
        QVERIFY(bytes.endsWith("\r\n\"Video Std         \",1\r\n"));
        QCOMPARE(bytes.count("\r\n"), 3 + saved.panel.supported_item_count(true));
    }

    // The unit gave no number for Sense: the file says so rather than claim a 0.
    void value_without_a_number_is_saved_empty()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.panel.quvex_Click(1);
        rig.unit.noisy_names = {"Sense"};
        const QByteArray bytes = save(rig, dir.filePath("quvex.cfg"));
        QVERIFY(bytes.contains("\r\n\"Sense             \",\r\n\"Sound             \",0\r\n"));
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
        Rig rig;
        rig.panel.quvex_Click(model);
        (silent ? rig.unit.silent_names : rig.unit.unknown_names) = {"Sense"};

        QCOMPARE(save(rig, path), previous);
        QTEST(rig.operator_side.message_texts(), "messages");
        QVERIFY(rig.operator_side.window_enabled);
    }
};

QTEST_GUILESS_MAIN(TestSettingsSave)
#include "tst_settings_save.moc"
