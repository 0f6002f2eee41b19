#include "support/messages.h"
#include "support/rig.h"

#include <QTest>

#include <limits>

using namespace quvex;
using quvex::link::MessageIcon;

namespace {

using test::kWrongType;

// A rig whose port is open, as after choosing a model, with nothing on the wire yet.
struct OpenRig : test::Rig
{
    OpenRig()
    {
        link.open_port();
        unit.clear_sent();
    }
};

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void write_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QList<QByteArray>>("answer");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("ticks");
        const QString error = test::kNoResponse;
        const QList<QByteArray> ok{">"};
        QTest::addRow("accepted") << 1.0 << ok << QByteArray("OutH-Centre:=1\r") << QStringList{} << 0;
        QTest::addRow("unknown item") << 1.0 << QList<QByteArray>{"?\n"} << QByteArray("OutH-Centre:=1\r")
                                      << QStringList{kWrongType, error} << 0;
        QTest::addRow("silent") << 1.0 << QList<QByteArray>{} << QByteArray("OutH-Centre:=1\r") << QStringList{error}
                                << 11;
        QTest::addRow("number") << 1.0 << QList<QByteArray>{"512\r\n"} << QByteArray("OutH-Centre:=1\r")
                                << QStringList{error} << 0;
        QTest::addRow("acknowledged twice")
            << 1.0 << QList<QByteArray>{">>"} << QByteArray("OutH-Centre:=1\r") << QStringList{error} << 0;
        QTest::addRow("negative") << -3.0 << ok << QByteArray("OutH-Centre:=-3\r") << QStringList{} << 0;
        QTest::addRow("fraction") << 2.5 << ok << QByteArray("OutH-Centre:=2.5\r") << QStringList{} << 0;
        QTest::addRow("negative zero") << -0.0 << ok << QByteArray("OutH-Centre:=0\r") << QStringList{} << 0;
        QTest::addRow("large") << 1e20 << ok << QByteArray("OutH-Centre:=100000000000000000000\r") << QStringList{}
                               << 0;
    }

    void write()
    {
        QFETCH(double, value);
        QFETCH(QList<QByteArray>, answer);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, messages);
        QFETCH(int, ticks);
        OpenRig rig;
        rig.unit.script_next_answer(answer);
        rig.link.send_item_value(QStringLiteral("Out H-Centre:  "), value);

        QCOMPARE(rig.unit.sent(), line);
        QCOMPARE(rig.operator_side.message_texts(), messages);
        QCOMPARE(rig.link.state().wrong_type_error, messages.contains(kWrongType));
        QCOMPARE(rig.link.state().no_response_error, !messages.isEmpty());
        QCOMPARE(rig.unit.now(), ticks);
        if (!messages.isEmpty()) {
            QCOMPARE(rig.operator_side.messages.last().title, QStringLiteral("Error"));
            QCOMPARE(rig.operator_side.messages.last().icon, MessageIcon::Exclamation);
        }
    }

    void read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<QByteArray>>("answer");
        QTest::addColumn<QString>("value"); // empty: unknown
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QString max = QString::number(std::numeric_limits<double>::max(), 'g', 17);
        QTest::addRow("plain") << "Out H-Centre:" << QList<QByteArray>{"512\r\n"} << "512" << 0 << none;
        QTest::addRow("in pieces") << "Zoom" << QList<QByteArray>{"5", "12", "\r\n"} << "512" << 0 << none;
        QTest::addRow("no line feed") << "Zoom" << QList<QByteArray>{"2\r"} << "2" << 6 << none;
        QTest::addRow("unknown item") << "Genlock" << QList<QByteArray>{"?\n"} << "" << 0 << QStringList{kWrongType};
        QTest::addRow("silent") << "Zoom" << QList<QByteArray>{} << "" << 6 << QStringList{test::kNoResponse};
        QTest::addRow("VGA Left -1") << "VGA Left:" << QList<QByteArray>{"-1\r\n"} << "255" << 0 << none;
        QTest::addRow("VGA Left 256") << "VGA Left:" << QList<QByteArray>{"256\r\n"} << "0" << 0 << none;
        QTest::addRow("VGA Left half to even") << "VGA Left:" << QList<QByteArray>{"2.5\r\n"} << "2" << 0 << none;
        QTest::addRow("VGA Left huge") << "VGA Left:" << QList<QByteArray>{"1e999\r\n"} << "0" << 0 << none;
        QTest::addRow("VGA Left hundred digits")
            << "VGA Left:" << QList<QByteArray>{QByteArray(99, '9') + "7\r\n"} << "0" << 0 << none;
        QTest::addRow("inf") << "Zoom" << QList<QByteArray>{"inf\r\n"} << "" << 0 << none;
        QTest::addRow("nan") << "Zoom" << QList<QByteArray>{"nan\r\n"} << "" << 0 << none;
        QTest::addRow("noise before the number") << "Zoom" << QList<QByteArray>{"x512\r\n"} << "" << 0 << none;
        QTest::addRow("sign alone") << "Zoom" << QList<QByteArray>{"-\r\n"} << "" << 0 << none;
        QTest::addRow("zero") << "Zoom" << QList<QByteArray>{"0\r\n"} << "0" << 0 << none;
        QTest::addRow("overflow") << "Zoom" << QList<QByteArray>{"1e999\r\n"} << max << 0 << none;
        QTest::addRow("negative overflow") << "Zoom" << QList<QByteArray>{"-1e999\r\n"} << "-" + max << 0 << none;
        QTest::addRow("underflow") << "Zoom" << QList<QByteArray>{"1e-999\r\n"} << "0" << 0 << none;
        QTest::addRow("spaces inside") << "Zoom" << QList<QByteArray>{" - 1 2\t.5e1\r\n"} << "-125" << 0 << none;
        QTest::addRow("nul and 8-bit bytes")
            << "Zoom" << QList<QByteArray>{QByteArray("7\0\xff\n", 4)} << "7" << 0 << none;
        QTest::addRow("acknowledgement instead") << "Zoom" << QList<QByteArray>{">"} << "" << 6 << none;
        QTest::addRow("late acknowledgements first") << "Zoom" << QList<QByteArray>{">>", "7\r\n"} << "7" << 0 << none;
        QTest::addRow("acknowledgement, then unknown")
            << "Zoom" << QList<QByteArray>{">?\n"} << "" << 0 << QStringList{kWrongType};
        QTest::addRow("answered twice") << "Zoom" << QList<QByteArray>{"4\r\n5\r\n"} << "4" << 0 << none;
        QTest::addRow("two answers in one burst, no CR") << "Zoom" << QList<QByteArray>{"4\n5\n"} << "4" << 0 << none;
        QTest::addRow("endless line") << "Zoom"
                                      << QList<QByteArray>{"3", QByteArray(100000, '4'), QByteArray(100000, 'x')} << max
                                      << 6 << none;
    }

    void read()
    {
        QFETCH(QString, name);
        QFETCH(QList<QByteArray>, answer);
        QFETCH(QString, value);
        QFETCH(int, ticks);
        QFETCH(QStringList, messages);
        OpenRig rig;
        rig.link.state().wrong_type_error = true;
        rig.operator_side.set_window_enabled(false);
        rig.unit.script_next_answer(answer);
        const link::Reading result = rig.link.query_item_value(name);

        QCOMPARE(rig.unit.sent(), QString(name).remove(u' ').toLatin1() + '\r');
        QVERIFY(result.has_value());
        QCOMPARE(result->is_empty() ? QString() : QString::number(result->number(), 'g', 17), value);
        QCOMPARE(rig.unit.now(), ticks);
        QCOMPARE(rig.operator_side.message_texts(), messages);
        const bool silent = answer.isEmpty();
        // Only an answer clears the wrong-type flag; only silence sets the other. The window
        // stays locked: the operation that locked it unlocks it.
        QCOMPARE(rig.link.state().wrong_type_error, silent || messages.contains(kWrongType));
        QCOMPARE(rig.link.state().no_response_error, silent);
        QVERIFY(!rig.operator_side.window_enabled);
    }

    // An event handled while an exchange waits (a timer, a click the window let through)
    // must not start a second exchange on the same line.
    void exchange_while_another_waits_is_refused()
    {
        OpenRig rig;
        rig.unit.answer_delay_ticks = 2;
        link::WriteResult inner_write = link::WriteResult::Accepted;
        link::Reading inner_read = catalogue::Value(1);
        rig.operator_side.on_process_events = [&] {
            if (rig.unit.now() == 1) {
                inner_write = rig.link.send_item_value(QStringLiteral("Zoom"), 1);
                inner_read = rig.link.query_item_value(QStringLiteral("Zoom"));
            }
            rig.unit.step();
        };
        rig.unit.set_value(QStringLiteral("PanXPos:"), 4);
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Pan X Pos:"))->number(), 4.0);
        QCOMPARE(rig.unit.sent_lines(), QStringList{QStringLiteral("PanXPos:")});
        QVERIFY(inner_write == link::WriteResult::NotSent && !inner_read.has_value());
        QVERIFY(rig.operator_side.messages.isEmpty());
        QVERIFY(!rig.link.state().no_response_error);
    }

    // A late answer to an earlier exchange must not pass for the answer to the next one.
    void stale_input_is_discarded_before_sending()
    {
        OpenRig rig;
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.unit.inject(">");
        rig.link.send_item_value(QStringLiteral("Zoom"), 1);
        QVERIFY(rig.link.state().no_response_error);

        rig.unit.behaviour = test::FakeUnit::Behaviour::Answer;
        rig.unit.set_value(QStringLiteral("Zoom"), 1);
        rig.unit.inject(">");
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Zoom"))->number(), 1.0);
    }

    void exchange_ends_in_the_turn_its_answer_completes()
    {
        OpenRig rig;
        rig.link.send_item_value(QStringLiteral("Zoom"), 1);
        QCOMPARE(rig.operator_side.events_processed, 1);
        rig.unit.script_next_answer({"1", "\r\n"});
        rig.link.query_item_value(QStringLiteral("Zoom"));
        QCOMPARE(rig.operator_side.events_processed, 3);
    }

    // A pulled cable that is not back yet: no answer can come, so nothing is waited for.
    void unplugged_line_fails_at_once_then_works_again()
    {
        OpenRig rig;
        rig.unit.set_value(QStringLiteral("Zoom"), 1);
        rig.unit.unplug();
        QVERIFY(rig.link.send_item_value(QStringLiteral("Zoom"), 1) == link::WriteResult::Failed);
        QVERIFY(rig.link.query_item_value(QStringLiteral("Zoom"))->is_empty());
        QCOMPARE(rig.unit.now(), 0);
        QCOMPARE(rig.operator_side.message_texts(), QStringList(2, test::kNoResponse));
        QVERIFY(rig.link.state().no_response_error);

        rig.unit.plug();
        QCOMPARE(rig.link.query_item_value(QStringLiteral("Zoom"))->number(), 1.0);
        QCOMPARE(rig.unit.sent_lines(), QStringList{QStringLiteral("Zoom")});
    }

    void closed_port_warns_once_per_connection_change()
    {
        test::Rig rig;
        rig.link.send_item_value(QStringLiteral("Zoom"), 1);
        QVERIFY(rig.link.query_item_value(QStringLiteral("Zoom"))->is_empty());
        rig.link.send_item_value(QStringLiteral("Zoom"), 1);
        QCOMPARE(rig.operator_side.message_texts(),
                 QStringList{QStringLiteral("Unit is dis-connected.  Nothing will be sent.")});
        rig.link.close_port();
        QVERIFY(rig.link.query_item_value(QStringLiteral("Zoom"))->is_empty());
        QCOMPARE(rig.operator_side.message_texts().last(),
                 QStringLiteral("Unit is dis-connected.  All values will be set to zero."));
        QVERIFY(rig.unit.sent().isEmpty());
        QVERIFY(!rig.link.state().no_response_error && !rig.link.state().wrong_type_error);
    }

    void port_management()
    {
        test::Rig rig;
        rig.link.close_port();
        QVERIFY(rig.operator_side.messages.isEmpty());
        QVERIFY(rig.operator_side.port_box_enabled);

        rig.unit.refuse_open = true;
        rig.link.open_port();
        QCOMPARE(rig.operator_side.message_texts(),
                 QStringList{QStringLiteral("Could not open COM port - please check COM port number.")});
        QVERIFY(rig.operator_side.port_box_enabled);
        QVERIFY(!rig.link.is_port_open());

        rig.unit.refuse_open = false;
        rig.link.open_port();
        QVERIFY(!rig.operator_side.port_box_enabled);
        rig.link.close_port();
        QCOMPARE(rig.operator_side.message_texts().last(), QStringLiteral("COM port closed."));
        QVERIFY(rig.operator_side.port_box_enabled);

        for (int i = 0; i < 1100; ++i)
            rig.link.Timer1_Timer();
        QCOMPARE(rig.link.state().tick_count, 1000);
    }

    void port_number_from_the_box_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addRow("3") << "3" << 3;
        QTest::addRow("empty") << "" << 1;
        QTest::addRow("zero") << "0" << 1;
        QTest::addRow("negative") << "-2" << 1;
        QTest::addRow("letters") << "abc" << 1;
        QTest::addRow("leading number") << "4x" << 4;
        QTest::addRow("beyond 16 bits") << "99999" << 1;
    }

    void port_number_from_the_box()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        test::Rig rig;
        rig.link.commport_Change(text);
        QCOMPARE(rig.link.port_number(), number);
        QCOMPARE(rig.unit.port_number(), number);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
