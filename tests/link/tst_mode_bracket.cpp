#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;

class TestModeBracket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void single_access_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("video_std");
        QTest::addColumn<int>("overscan");
        QTest::addColumn<QList<QByteArray>>("first_answer"); // in place of the unit's own; "-": its own
        QTest::addColumn<QString>("silent");                 // a name the unit never answers
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QString>("value"); // "-": the item was not asked
        QTest::addColumn<QStringList>("messages");
        const QList<QByteArray> own{"-"};
        const QStringList none;
        // The unit's factory picture values differ in every set: a read from the wrong one shows.
        QTest::addRow("mode item, unit already in its mode")
            << "NU\\Out H-Centre:" << 0 << 0 << own << "" << QStringList{"VideoStd", "Overscan", "OutH-Centre:"}
            << "512" << none;
        QTest::addRow("mode item, unit in PAL overscan")
            << "NU\\Out H-Centre:" << 1 << 1 << own << ""
            << QStringList{"VideoStd",     "Overscan",   "VideoStd=0", "Overscan=0",
                           "OutH-Centre:", "VideoStd=1", "Overscan=1"}
            << "512" << none;
        QTest::addRow("mode item, only the scan mode differs")
            << "PO\\Out V-Height:  " << 1 << 0 << own << ""
            << QStringList{"VideoStd", "Overscan", "Overscan=1", "OutV-Height:", "Overscan=0"} << "600" << none;
        QTest::addRow("ordinary item") << "Pan X Pos:" << 1 << 1 << own << "" << QStringList{"PanXPos:"} << "0" << none;
        QTest::addRow("Video Std itself")
            << "Video Std" << 1 << 0 << own << "" << QStringList{"VideoStd"} << "1" << none;
        // The unit's mode is not known, so it is neither switched nor "restored" into another.
        QTest::addRow("Video Std answer lost") << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{} << ""
                                               << QStringList{"VideoStd"} << "-" << QStringList{test::kNoResponse};
        QTest::addRow("Video Std unknown") << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"?\n"} << ""
                                           << QStringList{"VideoStd"} << "-" << QStringList{test::kWrongType};
        QTest::addRow("Video Std noise") << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"x1\r\n"} << ""
                                         << QStringList{"VideoStd"} << "-" << none;
        QTest::addRow("Overscan answer lost")
            << "NU\\Out H-Centre:" << 1 << 1 << own << "Overscan" << QStringList{"VideoStd", "Overscan"} << "-"
            << QStringList{test::kNoResponse};
    }

    void single_access()
    {
        QFETCH(QString, name);
        QFETCH(int, video_std);
        QFETCH(int, overscan);
        QFETCH(QList<QByteArray>, first_answer);
        QFETCH(QString, silent);
        QFETCH(QString, value);
        test::Rig rig;
        rig.link.open_port();
        rig.unit.set_value(QStringLiteral("VideoStd"), video_std);
        rig.unit.set_value(QStringLiteral("Overscan"), overscan);
        if (first_answer != QList<QByteArray>{"-"})
            rig.unit.script_next_answer(first_answer);
        rig.unit.silent_names = {silent};

        const link::Reading reading = rig.bracket.read_item_value(name);
        QTEST(rig.unit.sent_lines(), "wire");
        QTEST(rig.operator_side.message_texts(), "messages");
        QCOMPARE(!reading              ? QStringLiteral("-")
                 : reading->is_empty() ? QString()
                                       : QString::number(reading->number()),
                 value);
        QCOMPARE(rig.bracket.saved_video_std(), -1.0); // nothing kept
        QCOMPARE(rig.unit.video_std(), video_std);
        QCOMPARE(rig.unit.overscan(), overscan);
    }

    // Writing goes through the same bracket: the item lands in the set of its own mode.
    void write_reaches_the_set_of_the_item_mode()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.bracket.write_item_value(QStringLiteral("PO\\Out H-Width:"), 700);
        QCOMPARE(rig.unit.picture_value(1, 1, QStringLiteral("OutH-Width:")), 700.0);
        QCOMPARE(rig.unit.picture_value(0, 0, QStringLiteral("OutH-Width:")), 640.0);
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
};

QTEST_GUILESS_MAIN(TestModeBracket)
#include "tst_mode_bracket.moc"
