#include "link/wire_log.h"
#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

using namespace quvex;
using namespace Qt::StringLiterals;
using Pieces = QList<QByteArray>; // an answer, each piece arriving in its own turn

// The wire log's lines for the link's exchanges, on the fake unit and virtual time: a tick of
// Timer1 is 100 ms of the log's time.
class TestWireLog : public QObject
{
    Q_OBJECT

private:
    struct Logged : test::Rig
    {
        Logged()
        {
            link.set_wire_observer(&log);
            link.open_port();
        }
        QStringList lines;
        link::WireLog log{[this](const QString &line) { lines.append(line); },
                          [this] { return qint64(unit.now()) * 100; }};
    };

private Q_SLOTS:
    void exchange_data()
    {
        QTest::addColumn<QString>("line"); // NAME=VALUE is written, NAME is read
        QTest::addColumn<QByteArray>("waiting");
        QTest::addColumn<Pieces>("answer");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("hinted");
        const QString read = u"     0 ms  sent    Zoom<CR>"_s, write = u"     0 ms  sent    Zoom=1<CR>"_s;
        const QString read_time_out = u"   600 ms  time-out after 0.6 s"_s;
        const QByteArray none;
        QTest::addRow("read") << u"Zoom"_s << none << Pieces{"5", "12\r\n"}
                              << QStringList{read, u"     0 ms  answer  512<CR><LF>"_s} << false;
        QTest::addRow("write") << u"Zoom=1"_s << none << Pieces{">"} << QStringList{write, u"     0 ms  answer  >"_s}
                               << false;
        QTest::addRow("write, unit silent")
            << u"Zoom=1"_s << none << Pieces{} << QStringList{write, u"  1100 ms  time-out after 1.1 s"_s} << false;
        QTest::addRow("read, unit silent")
            << u"Zoom"_s << none << Pieces{} << QStringList{read, read_time_out} << false;
        QTest::addRow("read, item unknown")
            << u"Zoom"_s << none << Pieces{"?\n"}
            << QStringList{read, u"     0 ms  answer  ?<LF>"_s,
                           u"     0 ms  \"?\" answer: the unit does not know this item"_s}
            << false;
        // The loss is noticed at the end of the wait, after what came before it.
        QTest::addRow("line lost after an answer began")
            << u"Zoom"_s << none << Pieces{"5", test::FakeUnit::kPull}
            << QStringList{read, u"   600 ms  answer  5"_s, u"   600 ms  line lost"_s, read_time_out} << false;
        QTest::addRow("late acknowledgement")
            << u"Zoom"_s << QByteArray(">") << Pieces{"0\r\n"}
            << QStringList{u"     0 ms  late    >"_s, read, u"     0 ms  answer  0<CR><LF>"_s} << false;
        QTest::addRow("stray byte") << u"Zoom"_s << none << Pieces{"\xC3<512\r\n"}
                                    << QStringList{read, u"     0 ms  answer  <C3><3C>512<CR><LF>"_s} << false;
        QTest::addRow("two bytes that are not text")
            << u"Zoom"_s << none << Pieces{QByteArray("\x80\0", 2)}
            << QStringList{read, u"   600 ms  answer  <80><00>"_s, read_time_out} << false;
        QTest::addRow("three among more text")
            << u"Zoom"_s << none << Pieces{"\x80\x80\x80", "1234"}
            << QStringList{read, u"   600 ms  answer  <80><80><80>1234"_s, read_time_out} << false;
        QTest::addRow("read at a wrong baud rate") << u"Zoom"_s << none << Pieces{QByteArray("\x80\0\0", 3), "\x80"}
                                                   << QStringList{read, u"   600 ms  answer  <80><00><00><80>"_s,
                                                                  read_time_out, u"   600 ms  "_s + test::kNotText}
                                                   << true;
        QTest::addRow("write at a wrong baud rate")
            << u"Zoom=1"_s << none << Pieces{QByteArray("\0\0\x80", 3)}
            << QStringList{write, u"     0 ms  answer  <00><00><80>"_s, u"     0 ms  "_s + test::kNotText} << true;
    }

    // The messages stay as they are; the hint is told apart from them.
    void exchange()
    {
        QFETCH(QString, line);
        QFETCH(QByteArray, waiting);
        QFETCH(bool, hinted);
        Logged rig;
        rig.unit.inject(waiting);
        QFETCH(Pieces, answer);
        rig.unit.script_next_answer(answer);
        const QStringList parts = line.split(u'=');
        if (parts.size() == 2)
            rig.link.send_item_value(parts.at(0), parts.at(1).toDouble());
        else
            rig.link.query_item_value(line);
        QTEST(rig.lines, "lines");
        QCOMPARE(rig.operator_side.hints, hinted ? QStringList{test::kNotText} : QStringList());
        QCOMPARE(rig.operator_side.message_texts().filter(u"not text"_s), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestWireLog)
#include "tst_wire_log.moc"
