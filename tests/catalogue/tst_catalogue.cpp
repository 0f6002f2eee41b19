#include "catalogue/catalogue.h"
#include "catalogue/naming.h"
#include "catalogue/unit_models.h"

#include <QTest>

#include <stdexcept>

using namespace quvex::catalogue;

Q_DECLARE_METATYPE(Value)

class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    Catalogue m_catalogue;
    CurrentModel m_model;

    int model_index(const QString &code) const
    {
        for (int i = 0; i < kUnitModelCount; ++i) {
            if (unit_models()[static_cast<std::size_t>(i)].code == code)
                return i;
        }
        return -1;
    }

private Q_SLOTS:
    void initTestCase() { build_catalogue(m_catalogue); }

    void table_is_built_in_order()
    {
        QCOMPARE(m_catalogue.item_count(), 79);
        QCOMPARE(m_catalogue.entry(1).name, QStringLiteral("Overscan          "));
        QCOMPARE(m_catalogue.entry(18).name, QStringLiteral("NU\\Out H-Centre:  "));
        QCOMPARE(m_catalogue.entry(79).name, QStringLiteral("Video Std         "));
        // Names of 18 or more characters are kept as they are.
        QCOMPARE(m_catalogue.entry(27).name, QStringLiteral(">S/Size PAL U/scan"));
        QCOMPARE(m_catalogue.entry(17).name, QStringLiteral(">S/Size NTSC U/scan"));
        QCOMPARE(m_catalogue.entry(46).name, QStringLiteral(">Advanced, Info & Eng."));
        int headers = 0;
        for (int i = 0; i <= Catalogue::kCapacity; ++i) {
            QVERIFY(m_catalogue.entry(i).value.is_empty());
            headers += m_catalogue.entry(i).is_header();
        }
        QCOMPARE(headers, 9);
        QVERIFY(m_catalogue.entry(0).name.isEmpty());
        QVERIFY(m_catalogue.entry(80).name.isEmpty());
    }

    void add_beyond_capacity_fails_loudly()
    {
        Catalogue full;
        for (int i = 0; i < Catalogue::kCapacity; ++i)
            full.add_item(QStringLiteral("Item %1").arg(i), {}, QStringLiteral("N"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, full.add_item(QStringLiteral("One more"), {}, {}));
        QCOMPARE(full.item_count(), Catalogue::kCapacity);
    }

    void model_supports_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("models");
        QTest::addColumn<bool>("supported");
        QTest::addRow("QVM admitted by a QVMK list") << "QVM"
                                                     << "QVMK" << true;
        QTest::addRow("QVM admitted by QVMX,QVMK") << "QVM"
                                                   << "QVMX,QVMK" << true;
        QTest::addRow("QVM with empty list") << "QVM"
                                             << "" << true;
        QTest::addRow("QVM refuses QK1,QK2") << "QVM"
                                             << "QK1,QK2" << false;
        QTest::addRow("QVM refuses QVL") << "QVM"
                                         << "QVL" << false;
        QTest::addRow("QVM refuses NONE") << "QVM"
                                          << "NONE" << false;
        QTest::addRow("QVMX refuses QVMK") << "QVMX"
                                           << "QVMK" << false;
        QTest::addRow("QVMX refuses QVL,QVM") << "QVMX"
                                              << "QVL,QVM" << false;
        QTest::addRow("QVMX accepts QVMX,QVMK") << "QVMX"
                                                << "QVMX,QVMK" << true;
        QTest::addRow("QK2 accepts QK1,QK2") << "QK2"
                                             << "QK1,QK2" << true;
        QTest::addRow("QK2 refuses list ending QK1") << "QK2"
                                                     << "QVL,QVM,QVMX,QVMK,QK1" << false;
        QTest::addRow("disconnected accepts empty") << "BAD"
                                                    << "" << true;
        QTest::addRow("disconnected refuses NONE") << "BAD"
                                                   << "NONE" << false;
        QTest::addRow("disconnected refuses QVL") << "BAD"
                                                  << "QVL" << false;
    }

    void model_supports()
    {
        QFETCH(QString, code);
        QFETCH(QString, models);
        QFETCH(bool, supported);
        m_model.select(model_index(code));
        QCOMPARE(m_model.model_supports(models), supported);
    }

    void find_item_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addRow("Overscan") << "QVL"
                                  << "Overscan" << 1;
        QTest::addRow("Video Std") << "BAD"
                                   << "Video Std" << 79;
        QTest::addRow("padded mode item") << "QK1"
                                          << "NU\\Out H-Centre:  " << 18;
        QTest::addRow("unpadded mode item") << "QK1"
                                            << "NU\\Out H-Centre:" << 18;
        QTest::addRow("SC Phase for QVM") << "QVM"
                                          << "SC Phase" << 7;
        QTest::addRow("SC Phase for QVMK") << "QVMK"
                                           << "SC Phase" << 7;
        QTest::addRow("SC Phase for QK2") << "QK2"
                                          << "SC Phase" << 16;
        QTest::addRow("SC Phase for QVL") << "QVL"
                                          << "SC Phase" << 80;
        QTest::addRow("SC Phase for QVMX") << "QVMX"
                                           << "SC Phase" << 80;
        QTest::addRow("SC Phase disconnected") << "BAD"
                                               << "SC Phase" << 80;
        QTest::addRow("Sync Out for QVM") << "QVM"
                                          << "Sync Out" << 73;
        QTest::addRow("Sync Out for QK1") << "QK1"
                                          << "Sync Out" << 74;
        QTest::addRow("Baud Rate for nobody") << "QVMK"
                                              << "Baud Rate" << 80;
        QTest::addRow("case matters") << "QVM"
                                      << "overscan" << 80;
        QTest::addRow("long header") << "QVM"
                                     << ">S/Size NTSC U/scan" << 17;
    }

    void find_item()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(int, index);
        m_model.select(model_index(code));
        QCOMPARE(quvex::catalogue::find_item(m_catalogue, m_model, name), index);
    }

    void naming_rules()
    {
        QCOMPARE(remove_spaces(QStringLiteral("SC Ph. Shift      ")), QStringLiteral("SCPh.Shift"));
        QCOMPARE(remove_spaces(QString()), QString());
        QCOMPARE(remove_spaces(QStringLiteral("a\tb c")), QStringLiteral("a\tbc"));
        QCOMPARE(base_item_name(QStringLiteral("PO\\Out V-Height:  ")), QStringLiteral("Out V-Height:  "));
        QCOMPARE(base_item_name(QStringLiteral("Overscan          ")), QStringLiteral("Overscan        "));
        QCOMPARE(base_item_name(QStringLiteral("a\\b\\c\\d")), QStringLiteral("c\\d"));
        for (const char *prefix : {"NU", "NO", "PU", "PO"}) {
            const QString name = QString::fromLatin1(prefix) + QStringLiteral("\\Out H-Centre:");
            QCOMPARE(required_video_std(name), prefix[0] == 'N' ? 0 : 1);
            QCOMPARE(required_overscan(name), prefix[1] == 'U' ? 0 : 1);
        }
    }

    void current_mode_prefix_data()
    {
        QTest::addColumn<Value>("video_std");
        QTest::addColumn<Value>("overscan");
        QTest::addColumn<QString>("prefix");
        QTest::addRow("both empty") << Value() << Value() << "NU\\";
        QTest::addRow("PAL underscan") << Value(1) << Value(0) << "PU\\";
        QTest::addRow("NTSC overscan") << Value(0) << Value(1) << "NO\\";
        QTest::addRow("PAL overscan") << Value(1) << Value(1) << "PO\\";
    }

    void current_mode_prefix()
    {
        QFETCH(Value, video_std);
        QFETCH(Value, overscan);
        QFETCH(QString, prefix);
        Catalogue catalogue;
        build_catalogue(catalogue);
        m_model.select(kDisconnected);
        catalogue.entry(79).value = video_std;
        catalogue.entry(1).value = overscan;
        QCOMPARE(quvex::catalogue::current_mode_prefix(catalogue, m_model), prefix);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
