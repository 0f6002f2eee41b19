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
        // "LINE|ANSWER", in order: the unit answers the next LINE with ANSWER instead, and does not
        // take it; "garble LINE": it takes it, and a noisy line garbles the answer (the simulator's
        // fault).
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QString>("value"); // "-": the item was not asked
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("detail"); // under the last message: the mode the unit may be left in
        const QList<QByteArray> own;
        const QStringList none;
        const QStringList pal_overscan{"VideoStd",     "Overscan",   "VideoStd=0", "Overscan=0",
                                       "OutH-Centre:", "VideoStd=1", "Overscan=1"};
        // The unit's factory picture values differ in every set: a read from the wrong one shows.
        QTest::addRow("mode item, unit already in its mode")
            << "NU\\Out H-Centre:" << 0 << 0 << own << QStringList{"VideoStd", "Overscan", "OutH-Centre:"} << "512"
            << none << "";
        QTest::addRow("mode item, unit in PAL overscan")
            << "NU\\Out H-Centre:" << 1 << 1 << own << pal_overscan << "512" << none << "";
        QTest::addRow("mode item, only the scan mode differs")
            << "PO\\Out V-Height:  " << 1 << 0 << own
            << QStringList{"VideoStd", "Overscan", "Overscan=1", "OutV-Height:", "Overscan=0"} << "600" << none << "";
        QTest::addRow("ordinary item") << "Pan X Pos:" << 1 << 1 << own << QStringList{"PanXPos:"} << "0" << none << "";
        QTest::addRow("Video Std itself")
            << "Video Std" << 1 << 0 << own << QStringList{"VideoStd"} << "1" << none << "";
        // The unit's mode is not known, so it is neither switched nor "restored" into another.
        QTest::addRow("Video Std answer lost")
            << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"VideoStd|"} << QStringList{"VideoStd"} << "-"
            << QStringList{test::kNoResponse} << "";
        QTest::addRow("Video Std unknown") << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"VideoStd|?\n"}
                                           << QStringList{"VideoStd"} << "-" << QStringList{test::kWrongType} << "";
        QTest::addRow("Video Std noise") << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"VideoStd|x1\r\n"}
                                         << QStringList{"VideoStd"} << "-" << none << "";
        QTest::addRow("Overscan answer lost")
            << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"Overscan|"} << QStringList{"VideoStd", "Overscan"}
            << "-" << QStringList{test::kNoResponse} << "";
        // An answer that is not ">" comes from a unit that is there: the restore goes on, reads the
        // mode back and sends once more what differs. One warning all the same.
        QTest::addRow("restore answered with noise, not taken")
            << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"VideoStd=1|\x9F"}
            << pal_overscan + QStringList{"VideoStd", "Overscan", "VideoStd=1"} << "512"
            << QStringList{test::kNoResponse} << "";
        QTest::addRow("restore answered with noise, taken")
            << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"garble VideoStd=1"}
            << pal_overscan + QStringList{"VideoStd", "Overscan"} << "512" << QStringList{test::kNoResponse} << "";
        QTest::addRow("restore answered with noise, and ? again")
            << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"VideoStd=1|\x9F", "VideoStd=1|?\n"}
            << pal_overscan + QStringList{"VideoStd", "Overscan", "VideoStd=1"} << "512"
            << QStringList{test::kNoResponse}
            << "the unit may be left in NTSC overscan (Video Std 0, Overscan 1); its own video mode is PAL overscan "
               "(Video Std 1, Overscan 1)";
        QTest::addRow("restore answered with noise, read back unreadable")
            << "NU\\Out H-Centre:" << 1 << 1 << QList<QByteArray>{"VideoStd=1|\x9F", "VideoStd|\x9F"}
            << pal_overscan + QStringList{"VideoStd", "Overscan"} << "512" << QStringList{test::kNoResponse}
            << "the unit may be left in NTSC overscan (Video Std 0, Overscan 1); its own video mode is PAL overscan "
               "(Video Std 1, Overscan 1)";
    }

    void single_access()
    {
        QFETCH(QString, name);
        QFETCH(int, video_std);
        QFETCH(int, overscan);
        QFETCH(QList<QByteArray>, answers);
        QFETCH(QString, value);
        QFETCH(QString, detail);
        test::Rig rig;
        rig.link.open_port();
        rig.unit.set_value(QStringLiteral("VideoStd"), video_std);
        rig.unit.set_value(QStringLiteral("Overscan"), overscan);
        for (const QByteArray &answer : answers) {
            if (answer.startsWith("garble "))
                rig.unit.garble(QString::fromLatin1(answer.mid(7)));
            else
                rig.unit.script_answer_to(QString::fromLatin1(answer.left(answer.indexOf('|'))),
                                          {answer.mid(answer.indexOf('|') + 1)});
        }

        const link::Reading reading = rig.bracket.read_item_value(name);
        QTEST(rig.unit.sent_lines(), "wire");
        QTEST(rig.operator_side.message_texts(), "messages");
        QCOMPARE(rig.operator_side.messages.isEmpty() ? QString() : rig.operator_side.messages.last().detail, detail);
        QCOMPARE(!reading              ? QStringLiteral("-")
                 : reading->is_empty() ? QString()
                                       : QString::number(reading->number()),
                 value);
        QCOMPARE(rig.bracket.saved_video_std(), -1.0); // nothing kept
        QCOMPARE(rig.unit.video_std() == video_std && rig.unit.overscan() == overscan, detail.isEmpty());
    }

    // While a line of the bracket awaits its answer the unit may have taken it or not: a second
    // signal that ends the program then names each mode the unit may be in.
    void mode_left_while_a_line_waits_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("left");
        const QString own = "; its own video mode is NTSC underscan (Video Std 0, Overscan 0)";
        QTest::addRow("switch, its second line")
            << "Overscan=1"
            << "the unit may be left in PAL overscan (Video Std 1, Overscan 1) or PAL underscan (Video Std 1, "
               "Overscan 0)"
                   + own;
        QTest::addRow("restore, its first line")
            << "VideoStd=0"
            << "the unit may be left in NTSC overscan (Video Std 0, Overscan 1) or PAL overscan (Video Std 1, "
               "Overscan 1)"
                   + own;
        QTest::addRow("restore, its last line")
            << "Overscan=0"
            << "the unit may be left in NTSC overscan (Video Std 0, Overscan 1)" + own;
    }

    void mode_left_while_a_line_waits()
    {
        QFETCH(QString, line);
        test::Rig rig;
        rig.link.open_port();
        QString left;
        rig.operator_side.on_process_events = [&] {
            if (left.isEmpty() && rig.unit.sent_lines().endsWith(line))
                left = rig.panel.unit_mode_left();
            rig.unit.step();
        };
        rig.bracket.write_item_value(QStringLiteral("PO\\Out H-Centre:"), 301);
        QTEST(left, "left");
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
