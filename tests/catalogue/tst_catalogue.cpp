#include "catalogue/catalogue.h"
#include "catalogue/naming.h"
#include "catalogue/unit_models.h"

#include <QTest>

#include <algorithm>
#include <stdexcept>

using namespace quvex::catalogue;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Value)

// The lookup and naming rules. What the table holds is checked end to end against the
// simulator's own table of a unit, where a typo on either side shows.
class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    Catalogue m_catalogue;
    CurrentModel m_model;

private Q_SLOTS:
    void initTestCase() { build_catalogue(m_catalogue); }

    void add_beyond_capacity_fails_loudly()
    {
        Catalogue full;
        for (int i = 0; i < Catalogue::kCapacity; ++i)
            full.add_item(QStringLiteral("Item %1").arg(i), {}, QStringLiteral("N"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, full.add_item(QStringLiteral("One more"), {}, {}));
        QCOMPARE(full.item_count(), 100);
    }

    void find_item_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index"); // 80, one past the last item: not found
        QTest::addRow("padded") << u"QK1"_s << "NU\\Out H-Centre:  " << 18;
        QTest::addRow("unpadded") << u"QK1"_s << "NU\\Out H-Centre:" << 18;
        QTest::addRow("header by its full name, over 18 characters") << u"QVM"_s << ">S/Size NTSC U/scan" << 17;
        QTest::addRow("case matters") << u"QVM"_s << "overscan" << 80;
        QTest::addRow("no model list, disconnected") << u"BAD"_s << "Video Std" << 79;
        QTest::addRow("SC Phase for QVM, inside QVMK") << u"QVM"_s << "SC Phase" << 7;
        QTest::addRow("SC Phase for QK2, the second") << u"QK2"_s << "SC Phase" << 16;
        QTest::addRow("SC Phase for QVMX, not inside QVMK") << u"QVMX"_s << "SC Phase" << 80;
        QTest::addRow("Sync Out for QVM, inside QVMX") << u"QVM"_s << "Sync Out" << 73;
        QTest::addRow("Sync Out for QK1, the second") << u"QK1"_s << "Sync Out" << 74;
        QTest::addRow("Sound for QK2, not in a list ending QK1") << u"QK2"_s << "Sound" << 80;
        QTest::addRow("Baud Rate, NONE") << u"QVMK"_s << "Baud Rate" << 80;
        QTest::addRow("Baud Rate, NONE, disconnected") << u"BAD"_s << "Baud Rate" << 80;
    }

    void find_item()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        const auto &models = unit_models();
        m_model.select(static_cast<int>(std::ranges::find(models, code, &UnitModel::code) - models.begin()));
        QTEST(quvex::catalogue::find_item(m_catalogue, m_model, name), "index");
    }

    void naming_rules()
    {
        QCOMPARE(remove_spaces(QStringLiteral("SC Ph. Shift      ")), QStringLiteral("SCPh.Shift"));
        QCOMPARE(remove_spaces(QString()), QString());
        QCOMPARE(remove_spaces(QStringLiteral("a\tb c")), QStringLiteral("a\tbc"));
        QCOMPARE(base_item_name(QStringLiteral("PO\\Out V-Height:  ")), QStringLiteral("Out V-Height:  "));
        QCOMPARE(base_item_name(QStringLiteral("Overscan          ")), QStringLiteral("Overscan        "));
        QCOMPARE(base_item_name(QStringLiteral("a\\b\\c\\d")), QStringLiteral("c\\d"));
        QVERIFY(required_video_std(u"NO\\Zoom"_s) == 0 && required_overscan(u"NO\\Zoom"_s) == 1);
        QVERIFY(required_video_std(u"PU\\Zoom"_s) == 1 && required_overscan(u"PU\\Zoom"_s) == 0);
    }

    void current_mode_prefix_data()
    {
        QTest::addColumn<Value>("video_std");
        QTest::addColumn<Value>("overscan");
        QTest::addColumn<QString>("prefix");
        QTest::addRow("both empty") << Value() << Value() << "NU\\";
        QTest::addRow("PAL, overscan empty") << Value(1) << Value() << "PU\\";
        QTest::addRow("NTSC overscan") << Value(0) << Value(1) << "NO\\";
        QTest::addRow("PAL overscan") << Value(1) << Value(1) << "PO\\";
    }

    void current_mode_prefix()
    {
        QFETCH(Value, video_std);
        QFETCH(Value, overscan);
        m_model.select(kDisconnected);
        m_catalogue.entry(79).value = video_std;
        m_catalogue.entry(1).value = overscan;
        QTEST(quvex::catalogue::current_mode_prefix(m_catalogue, m_model), "prefix");
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
