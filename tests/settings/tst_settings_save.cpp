// Saving a unit's values to the settings file, and loading them into another unit.
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/rig.h"
#include "support/settings_bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace quvex;

namespace {

QByteArray save(test::Rig &rig, const QString &path)
{
    rig.settings_file(path).filesave_Click();
    return test::file_bytes(path);
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

    // A unit with every value away from its factory value (each picture set its own), left in PAL
    // underscan, is saved; the file is loaded into a unit of the same model at its factory values,
    // and saved again: the same file, so the load put every value of the file into the unit.
    void round_trip()
    {
        QFETCH(int, model);
        QFETCH(QString, name);
        QFETCH(int, items);
        QTemporaryDir dir;
        test::Rig saved(QTest::currentDataTag());
        double value = 10;
        for (int i = 1; i <= saved.catalogue.item_count(); ++i)
            saved.unit.set_value(QString(saved.catalogue.entry(i).name).remove(u' '), value += 1);
        for (int mode = 0; mode < 4; ++mode)
            for (const char *item : {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"})
                saved.unit.set_picture_value(mode / 2, mode % 2, item, value += 1);
        saved.unit.set_value("VideoStd", 1);
        saved.unit.set_value("Overscan", 0);
        saved.panel.quvex_Click(model);
        const QByteArray bytes = save(saved, dir.filePath("first.cfg"));
        test::Rig loaded(QTest::currentDataTag());
        loaded.settings_file(dir.filePath("first.cfg")).fileopen_Click();

        QCOMPARE(save(loaded, dir.filePath("second.cfg")), bytes);
        QVERIFY(bytes.startsWith("\"QUVEX Control Panel\"\r\n1\r\n\"" + name.toLatin1()
                                 + "\"\r\n\"Overscan          \",0\r\n")
                && bytes.endsWith("\r\n\"Video Std         \",1\r\n"));
        QCOMPARE(bytes.count("\r\n"), 3 + items);
        QVERIFY(saved.operator_side.messages.isEmpty() && loaded.operator_side.messages.isEmpty());
    }

    // The unit gave no number for Sense: the file says so rather than claim a 0.
    void value_without_a_number_is_saved_empty()
    {
        QTemporaryDir dir;
        test::Rig rig("QVL");
        rig.panel.quvex_Click(1);
        rig.unit.noisy_names = {"Sense"};
        const QByteArray bytes = save(rig, dir.filePath("quvex.cfg"));
        QVERIFY(bytes.contains("\r\n\"Sense             \",\r\n\"Sound             \",1\r\n")
                && bytes.endsWith("\r\n\"Video Std         \",0\r\n"));
        QVERIFY(rig.operator_side.messages.isEmpty());
    }

    void failed_saves_leave_the_old_file_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("Dis-connected") << 0 << "" << QStringList{"No unit has been selected."};
        QTest::addRow("unit vanishes part-way")
            << 1 << "cable pulled at Sense" << QStringList{test::kNoResponse, "Unable to complete Save."};
        QTest::addRow("unit does not know an item part-way")
            << 1 << "Sense unknown" << QStringList{"Wrong QUVEX type selected.", "Unable to complete Save."};
        // The old file is held once the new one is open, and it cannot take the old one's place.
        QTest::addRow("the final rename fails") << 1 << "old file held" << QStringList{"Error writing to <path>"};
    }

    void failed_saves_leave_the_old_file()
    {
        QFETCH(int, model);
        QFETCH(QString, fault);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        const QString path = dir.filePath("quvex.cfg");
        test::write_file(path, "the old settings");
        test::Rig rig("QVL");
        rig.panel.quvex_Click(model);
        rig.unit.unknown_names = {fault == "Sense unknown" ? "Sense" : ""};
        std::optional<test::HeldFile> held;
        rig.operator_side.on_process_events = [&] {
            if (fault == "cable pulled at Sense" && rig.unit.sent_lines().endsWith("RGBTerm."))
                rig.unit.unplug(); // before Sense goes out
            if (fault == "old file held" && !held)
                held.emplace(path);
            rig.unit.step();
        };

        rig.settings_file(path).filesave_Click();
        if (held && !held->held())
            QSKIP("the file system cannot keep a file from being replaced");
        held.reset();
        QCOMPARE(test::file_bytes(path), "the old settings");
        QCOMPARE(rig.operator_side.message_texts(),
                 messages.replaceInStrings("<path>", QDir::toNativeSeparators(path)));
        QVERIFY(rig.operator_side.window_enabled);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"quvex.cfg"});
    }
};

QTEST_GUILESS_MAIN(TestSettingsSave)
#include "tst_settings_save.moc"
