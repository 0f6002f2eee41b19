// Saving a unit's values to the settings file, and loading them into another unit.
#include "settings/settings_file.h"
#include "support/rig.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex;
using test::Rig;

namespace {

const QStringList kPicture = {"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"};

struct Failure
{
    int model; // 0: none chosen
    QString silent;
    QString unknown;
    bool folder_missing;
    QStringList messages;
};

QString wire_name(const catalogue::Entry &entry)
{
    return QString(entry.name).remove(u' ');
}

// Gives every item a value of its own from base, and each of the four picture sets its own.
void fill_unit(Rig &rig, double base, int video_std, int overscan)
{
    for (int i = 1; i <= rig.catalogue.item_count(); ++i)
        rig.unit.set_value(wire_name(rig.catalogue.entry(i)), base + i);
    for (int mode = 0; mode < 4; ++mode) {
        for (int k = 0; k < 4; ++k)
            rig.unit.set_picture_value(mode / 2, mode % 2, kPicture.at(k), base + 100 + 10 * mode + k);
    }
    rig.unit.set_value("VideoStd", video_std);
    rig.unit.set_value("Overscan", overscan);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

Q_DECLARE_METATYPE(Failure)

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

    void round_trip()
    {
        QFETCH(int, model);
        QTemporaryDir dir;
        const QString path = dir.filePath("quvex.cfg");
        Rig saved;
        fill_unit(saved, 10, 1, 0);
        saved.panel.quvex_Click(model);
        settings::SettingsFile(saved.panel, path).filesave_Click();
        QVERIFY(saved.operator_side.messages.isEmpty());

        const QByteArray bytes = contents(path);
        const QString name = catalogue::unit_models()[static_cast<std::size_t>(model)].display_name;
        const QByteArray head = "\"QUVEX Control Panel\"\r\n1\r\n\"" + name.toLatin1() + "\"\r\n";
        QVERIFY(bytes.startsWith(head) && bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.mid(head.size()).split('\n');
        lines.removeLast();
        static const QRegularExpression kLine(QStringLiteral("^\"([^\">\r\n][^\"\r\n]{17})\",-?[0-9]+\r$"));
        int items = 0;
        for (int i = 1; i <= saved.catalogue.item_count(); ++i) {
            const catalogue::Entry &entry = saved.catalogue.entry(i);
            items += saved.model.model_supports(entry.models) && !entry.is_header();
        }
        QCOMPARE(lines.size(), items);
        for (const QByteArray &line : lines)
            QVERIFY2(kLine.match(QString::fromLatin1(line)).hasMatch(), line.constData());

        Rig loaded;
        fill_unit(loaded, 150, 0, 1);
        loaded.panel.quvex_Click(model);
        settings::SettingsFile(loaded.panel, path).fileopen_Click();
        QVERIFY(loaded.operator_side.messages.isEmpty());

        QVERIFY(saved.unit.video_std() == 1 && saved.unit.overscan() == 0);
        for (int i = 1; i <= saved.catalogue.item_count(); ++i) {
            const catalogue::Entry &entry = saved.catalogue.entry(i);
            if (saved.model.model_supports(entry.models) && !entry.is_header() && !entry.name.contains(u'\\'))
                QVERIFY2(loaded.unit.value(wire_name(entry)) == saved.unit.value(wire_name(entry)),
                         qPrintable(entry.name));
        }
        for (int mode = 0; mode < 4; ++mode) {
            for (const QString &item : kPicture) {
                const int video_std = mode / 2, overscan = mode % 2;
                QCOMPARE(loaded.unit.picture_value(video_std, overscan, item),
                         saved.unit.picture_value(video_std, overscan, item));
            }
        }
    }

    void failed_saves_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addRow("no unit selected") << Failure{0, {}, {}, false, {"No unit has been selected."}};
        QTest::addRow("unit goes silent")
            << Failure{1, "Sense", {}, false, {link::Link::kNoResponseText, "Unable to complete Save."}};
        QTest::addRow("unit does not know an item")
            << Failure{1, {}, "Sense", false, {"Wrong QUVEX type selected.", "Unable to complete Save."}};
        QTest::addRow("folder missing") << Failure{1, {}, {}, true, {"Error writing to <path>"}};
    }

    void failed_saves()
    {
        QFETCH(Failure, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath(failure.folder_missing ? "missing/quvex.cfg" : "quvex.cfg");
        const QByteArray previous = "\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n\"Overscan          \",1\r\n";
        QFile file(path);
        if (!failure.folder_missing)
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(previous) == previous.size() && file.flush());
        file.close();

        Rig rig;
        if (failure.model != 0)
            rig.panel.quvex_Click(failure.model);
        rig.unit.silent_names = {failure.silent};
        rig.unit.unknown_names = {failure.unknown};
        rig.operator_side.messages.clear();

        settings::SettingsFile(rig.panel, path).filesave_Click();

        QCOMPARE(rig.operator_side.message_texts(),
                 failure.messages.replaceInStrings("<path>", QDir::toNativeSeparators(path)));
        QVERIFY(rig.operator_side.window_enabled);
        QCOMPARE(contents(path), failure.folder_missing ? QByteArray("<missing>") : previous);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 failure.folder_missing ? QStringList() : QStringList{"quvex.cfg"});
    }
};

QTEST_GUILESS_MAIN(TestSettingsSave)
#include "tst_settings_save.moc"
