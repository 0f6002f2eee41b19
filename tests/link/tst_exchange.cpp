#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

#include <limits>

using namespace quvex;
using quvex::link::MessageIcon;
using namespace Qt::StringLiterals;
using quvex::test::kWrongType;
using Pieces = QList<QByteArray>; // an answer, each piece arriving in its own turn

class TestExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void write_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<Pieces>("answer");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("turns"); // of event processing while waiting: one a piece or a 100 ms tick
        const QStringList none;
        const Pieces ok{">"};
        const QByteArray one("OutH-Centre:=1\r");
        QTest::addRow("accepted") << 1.0 << ok << one << none << 1;
        QTest::addRow("unknown item") << 1.0 << Pieces{"?\n"} << one << QStringList{kWrongType, test::kNoResponse} << 1;
        QTest::addRow("silent") << 1.0 << Pieces{} << one << QStringList{test::kNoResponse} << 11;
        QTest::addRow("acknowledged twice") << 1.0 << Pieces{">>"} << one << QStringList{test::kNoResponse} << 1;
        QTest::addRow("negative") << -3.0 << ok << QByteArray("OutH-Centre:=-3\r") << none << 1;
        QTest::addRow("fraction") << 2.5 << ok << QByteArray("OutH-Centre:=2.5\r") << none << 1;
        QTest::addRow("negative zero") << -0.0 << ok << QByteArray("OutH-Centre:=0\r") << none << 1;
        // Only a line that says the number exactly, and briefly, goes out.
        QTest::addRow("15 digits") << -999999999999999.0 << ok << QByteArray("OutH-Centre:=-999999999999999\r") << none
                                   << 1;
        QTest::addRow("1e15") << 1e15 << ok << QByteArray() << none << 0;
        QTest::addRow("0.1 + 0.2, 17 digits") << 0.1 + 0.2 << ok << QByteArray() << none << 0;
        QTest::addRow("1e-16, 16 digits") << 1e-16 << ok << QByteArray() << none << 0;
    }

    void write()
    {
        QFETCH(double, value);
        QFETCH(Pieces, answer);
        QFETCH(QStringList, messages);
        test::Rig rig;
        rig.link.open_port();
        rig.unit.script_next_answer(answer);
        rig.link.send_item_value(u"Out H-Centre:  "_s, value);

        QTEST(rig.unit.sent(), "line");
        QCOMPARE(rig.operator_side.message_texts(), messages);
        QCOMPARE(rig.link.state().wrong_type_error, messages.contains(kWrongType));
        QCOMPARE(rig.link.state().no_response_error, !messages.isEmpty());
        QTEST(rig.operator_side.events_processed, "turns");
    }

    void read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Pieces>("answer");
        QTest::addColumn<QString>("value"); // empty: unknown; "-": not asked
        QTest::addColumn<int>("turns");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QString max = QString::number(std::numeric_limits<double>::max(), 'g', 17);
        QTest::addRow("in pieces") << "Zoom" << Pieces{"5", "12", "\r\n"} << "512" << 3 << none;
        QTest::addRow("no line feed") << "Zoom" << Pieces{"2\r"} << "2" << 7 << none;
        QTest::addRow("first line feed ends it, the burst does not") << "Zoom" << Pieces{"4\n5\r"} << "4" << 1 << none;
        QTest::addRow("unknown item") << "Genlock" << Pieces{"?\n"} << "" << 1 << QStringList{kWrongType};
        QTest::addRow("silent") << "Zoom" << Pieces{} << "" << 6 << QStringList{test::kNoResponse};
        QTest::addRow("VGA Left -1") << "VGA Left:" << Pieces{"-1\r\n"} << "255" << 1 << none;
        QTest::addRow("VGA Left half to even") << "VGA Left:" << Pieces{"2.5\r\n"} << "2" << 1 << none;
        QTest::addRow("VGA Left huge") << "VGA Left:" << Pieces{"1e999\r\n"} << "0" << 1 << none;
        QTest::addRow("inf") << "Zoom" << Pieces{"inf\r\n"} << "" << 1 << none;
        QTest::addRow("noise before the number") << "Zoom" << Pieces{"x512\r\n"} << "" << 1 << none;
        QTest::addRow("sign alone") << "Zoom" << Pieces{"-\r\n"} << "" << 1 << none;
        QTest::addRow("negative overflow") << "Zoom" << Pieces{"-1e999\r\n"} << "-" + max << 1 << none;
        QTest::addRow("underflow") << "Zoom" << Pieces{"1e-999\r\n"} << "0" << 1 << none;
        QTest::addRow("spaces inside") << "Zoom" << Pieces{" - 1 2\t.5e1\r\n"} << "-125" << 1 << none;
        QTest::addRow("D exponent") << "Zoom" << Pieces{"5D2\r\n"} << "500" << 1 << none;
        QTest::addRow("nul and 8-bit bytes") << "Zoom" << Pieces{QByteArray("7\0\xff\n", 4)} << "7" << 1 << none;
        QTest::addRow("acknowledgement instead") << "Zoom" << Pieces{">"} << "" << 7 << none;
        QTest::addRow("late acknowledgements first") << "Zoom" << Pieces{">>", "7\r\n"} << "7" << 2 << none;
        QTest::addRow("acknowledgement, then unknown")
            << "Zoom" << Pieces{">?\n"} << "" << 1 << QStringList{kWrongType};
        QTest::addRow("cut at 4096 bytes")
            << "Zoom" << Pieces{"1" + QByteArray(5000, ' ') + "2\r\n"} << "1" << 1 << none;
        QTest::addRow("endless line") << "Zoom" << Pieces{"3", QByteArray(100000, '4'), QByteArray(100000, 'x')} << max
                                      << 9 << none;
    }

    void read()
    {
        QFETCH(QString, name);
        QFETCH(Pieces, answer);
        QFETCH(QStringList, messages);
        test::Rig rig;
        rig.link.open_port();
        rig.link.state().wrong_type_error = true;
        rig.operator_side.set_window_enabled(false);
        rig.unit.script_next_answer(answer);
        const link::Reading result = rig.link.query_item_value(name);

        QTEST(!result ? u"-"_s : result->is_empty() ? QString() : QString::number(result->number(), 'g', 17), "value");
        QTEST(rig.operator_side.events_processed, "turns");
        QCOMPARE(rig.operator_side.message_texts(), messages);
        // Only an answer clears the wrong-type flag; only silence sets the other. The window
        // stays locked: the operation that locked it unlocks it.
        QCOMPARE(rig.link.state().wrong_type_error, answer.isEmpty() || messages.contains(kWrongType));
        QCOMPARE(rig.link.state().no_response_error, answer.isEmpty());
        QVERIFY(!rig.operator_side.window_enabled);
    }

    // An event handled while an exchange waits (a timer, a click the window let through)
    // must not start a second exchange on the same line.
    void exchange_while_another_waits_is_refused()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.unit.answer_delay_ticks = 2;
        link::WriteResult inner_write = link::WriteResult::Accepted;
        link::Reading inner_read = catalogue::Value(1);
        rig.operator_side.on_process_events = [&] {
            if (rig.unit.now() == 1) {
                inner_write = rig.link.send_item_value(u"Zoom"_s, 1);
                inner_read = rig.link.query_item_value(u"Zoom"_s);
            }
            rig.unit.step();
        };
        rig.unit.set_value(u"PanXPos:"_s, 4);
        QCOMPARE(rig.link.query_item_value(u"Pan X Pos:"_s)->number(), 4.0);
        QCOMPARE(rig.unit.sent(), QByteArray("PanXPos:\r"));
        QVERIFY(inner_write == link::WriteResult::NotSent && !inner_read.has_value());
        QVERIFY(rig.operator_side.messages.isEmpty() && !rig.link.state().no_response_error);
    }

    // A late answer to an earlier exchange must not pass for the answer to the next one.
    void stale_input_is_discarded_before_sending()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.unit.inject(">");
        rig.link.send_item_value(u"Zoom"_s, 1);
        QVERIFY(rig.link.state().no_response_error);

        rig.unit.behaviour = test::FakeUnit::Behaviour::Answer;
        rig.unit.set_value(u"Zoom"_s, 1);
        rig.unit.inject(">");
        QCOMPARE(rig.link.query_item_value(u"Zoom"_s)->number(), 1.0);
    }

    // A pulled cable that is not back yet: no answer can come, so nothing is waited for.
    void unplugged_line_fails_at_once_then_works_again()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.unit.set_value(u"Zoom"_s, 1);
        rig.unit.unplug();
        QVERIFY(rig.link.send_item_value(u"Zoom"_s, 1) == link::WriteResult::LineLost);
        QVERIFY(rig.link.query_item_value(u"Zoom"_s)->is_empty());
        QCOMPARE(rig.unit.now(), 0);
        QCOMPARE(rig.operator_side.message_texts(), QStringList(2, test::kNoResponse));
        QCOMPARE(rig.operator_side.messages.last().title, u"Error"_s);
        QCOMPARE(rig.operator_side.messages.last().icon, MessageIcon::Exclamation);
        QVERIFY(rig.link.state().no_response_error);

        rig.unit.plug();
        QCOMPARE(rig.link.query_item_value(u"Zoom"_s)->number(), 1.0);
        QCOMPARE(rig.unit.sent_lines(), QStringList{u"Zoom"_s});
    }

    // A line that connects again before it goes out takes up to 3 s; the unit's 1.1 s and 0.6 s
    // run from the send.
    void time_out_runs_from_the_send()
    {
        test::Rig rig;
        rig.link.open_port();
        rig.unit.send_ticks = 30;
        rig.unit.answer_delay_ticks = 5;
        QCOMPARE(rig.link.send_item_value(u"Zoom"_s, 1), link::WriteResult::Accepted);
        QCOMPARE(rig.link.query_item_value(u"Zoom"_s)->number(), 1.0);
        QCOMPARE(rig.operator_side.message_texts(), QStringList());
    }

    // A closed port warns once until the connection changes again; opening and closing say so.
    void closed_port_warns_once_then_opens_and_closes()
    {
        test::Rig rig;
        rig.link.send_item_value(u"Zoom"_s, 1);
        QVERIFY(rig.link.query_item_value(u"Zoom"_s)->is_empty());
        rig.link.send_item_value(u"Zoom"_s, 1);
        rig.link.close_port(); // closed already: nothing to say, but the next refusal warns again
        QVERIFY(rig.link.query_item_value(u"Zoom"_s)->is_empty());
        rig.unit.refuse_open = true;
        rig.link.open_port();
        QVERIFY(!rig.link.is_port_open() && rig.operator_side.port_box_enabled);
        rig.unit.refuse_open = false;
        rig.link.open_port();
        QVERIFY(!rig.operator_side.port_box_enabled);
        rig.link.close_port();
        QVERIFY(rig.operator_side.port_box_enabled);
        QCOMPARE(rig.operator_side.message_texts(),
                 (QStringList{u"Unit is dis-connected.  Nothing will be sent."_s,
                              u"Unit is dis-connected.  All values will be set to zero."_s,
                              u"Could not open COM port - please check COM port number."_s, u"COM port closed."_s}));
        QVERIFY(rig.unit.sent().isEmpty() && !rig.link.state().no_response_error && !rig.link.state().wrong_type_error);
        for (int i = 0; i < 1100; ++i)
            rig.link.Timer1_Timer();
        QCOMPARE(rig.link.state().tick_count, 1000);
    }

    void port_number_from_the_box_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number"); // 7: the number before, kept
        QTest::addRow("leading number") << "4x" << 4;
        QTest::addRow("empty") << "" << 7;
        QTest::addRow("zero") << "0" << 7;
        QTest::addRow("beyond 16 bits") << "99999" << 7;
    }

    void port_number_from_the_box()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        test::Rig rig;
        rig.link.commport_Change(u"7"_s);
        rig.link.commport_Change(text);
        QCOMPARE(rig.link.port_number(), number);
        QCOMPARE(rig.unit.port_number(), number);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
