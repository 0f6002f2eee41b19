#include "rig.h"

#include <QTest>

using namespace quvex;

class ModeBracketTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void single_access_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("video_std");
        QTest::addColumn<int>("overscan");
        QTest::addColumn<QStringList>("wire");
        QTest::addRow("mode item, unit already in its mode")
            << "NU\\Out H-Centre:" << 0 << 0
            << QStringList{"VideoStd", "Overscan", "OutH-Centre:"};
        QTest::addRow("mode item, unit in PAL overscan")
            << "NU\\Out H-Centre:" << 1 << 1
            << QStringList{"VideoStd", "Overscan", "VideoStd=0", "Overscan=0", "OutH-Centre:", "VideoStd=1", "Overscan=1"};
        QTest::addRow("mode item, only the scan mode differs")
            << "PO\\Out V-Height:  " << 1 << 0
            << QStringList{"VideoStd", "Overscan", "Overscan=1", "OutV-Height:", "Overscan=0"};
        QTest::addRow("ordinary item") << "Pan X Pos:" << 1 << 1 << QStringList{"PanXPos:"};
        QTest::addRow("Video Std itself") << "Video Std" << 1 << 0 << QStringList{"VideoStd"};
    }

    void single_access()
    {
        QFETCH(QString, name);
        QFETCH(int, video_std);
        QFETCH(int, overscan);
        QFETCH(QStringList, wire);
        test::Rig rig;
        rig.link.open_port();
        rig.unit.set_value(QStringLiteral("VideoStd"), video_std);
        rig.unit.set_value(QStringLiteral("Overscan"), overscan);
        rig.unit.set_picture_value(required(name, 0), required(name, 1), QStringLiteral("OutH-Centre:"), 600);

        const catalogue::Value value = rig.bracket.read_item_value(name);
        QCOMPARE(rig.unit.sent_lines(), wire);
        QCOMPARE(rig.bracket.saved_video_std(), link::ModeBracket::kNone);
        QCOMPARE(rig.unit.video_std(), video_std);
        QCOMPARE(rig.unit.overscan(), overscan);
        if (name.startsWith(QLatin1String("NU\\Out H")))
            QCOMPARE(value.number(), 600.0);
    }

    // Writing goes through the same bracket: the item lands in the set of its own mode.
    void write_reaches_the_set_of_the_item_mode()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.unit.set_value(QStringLiteral("VideoStd"), 0);
        rig.bracket.write_item_value(QStringLiteral("PO\\Out H-Width:"), 700);
        QCOMPARE(rig.unit.picture_value(1, 1, QStringLiteral("OutH-Width:")), 700.0);
        QCOMPARE(rig.unit.picture_value(0, 0, QStringLiteral("OutH-Width:")), 0.0);
        QCOMPARE(rig.unit.video_std(), 0);
    }

    void bulk_run_ending_on_a_mode_item_keeps_the_saved_mode()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.unit.set_value(QStringLiteral("VideoStd"), 1);
        rig.link.state().bulk_mode = true;
        rig.bracket.read_item_value(QStringLiteral("NU\\Out V-Centre:"));
        rig.bracket.read_item_value(QStringLiteral("NO\\Out V-Centre:"));
        rig.link.state().bulk_mode = false;
        QCOMPARE(rig.unit.sent_lines(),
                 (QStringList{"VideoStd", "Overscan", "VideoStd=0", "OutV-Centre:", "Overscan=1", "OutV-Centre:"}));
        QCOMPARE(rig.bracket.saved_video_std(), 1.0);
        QCOMPARE(rig.unit.overscan(), 1);
    }

private:
    static int required(const QString &name, int position)
    {
        if (!name.contains(u'\\'))
            return 0;
        return position == 0 ? (name.at(0) == u'N' ? 0 : 1) : (name.at(1) == u'U' ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(ModeBracketTest)
#include "mode_bracket_test.moc"
