#include "ports/port_device.h"
#include "support/messages.h"
#include "support/ser2net_process.h"
#include "support/serial_rig.h"
#include "support/sim_process.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

// quvex-sim on a pseudo-terminal with a real ser2net in front of it, COM 1 linked to the server.
struct RackUnit
{
    explicit RackUnit(const QStringList &sim_arguments, const QString &banner = {})
        : sim(test::start_sim(sim_arguments + QStringList{u"--trace"_s}))
        , server(sim->device_path(), {.banner = banner, .as_shipped = false})
    {
        if (!server.start())
            qWarning("%s", qPrintable(server.error()));
        ports::link_port(1, server.target());
    }

    std::unique_ptr<test::SimProcess> sim;
    test::Ser2netProcess server;
};

// A server that never answers: a listener on 127.0.0.1 whose backlog is full, so the system
// drops every further attempt to connect without a word.
struct FullListener
{
    FullListener()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto *any = reinterpret_cast<sockaddr *>(&address);
        if (::bind(listener, any, length) != 0 || ::listen(listener, 0) != 0
            || ::getsockname(listener, any, &length) != 0 || ::connect(filler, any, length) != 0)
            qWarning("cannot set up a listener with a full backlog");
        port = ntohs(address.sin_port);
    }
    ~FullListener()
    {
        ::close(filler);
        ::close(listener);
    }
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int filler = ::socket(AF_INET, SOCK_STREAM, 0); // the one connection the backlog holds
    quint16 port = 0;
};

} // namespace

// The panel's core on the real line and timer, reaching quvex-sim through a real ser2net on
// loopback: what an operator meets with a unit in a rack behind a serial device server.
class TestNetworkEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
    }

    // Read all, then write all: the unit hears the same lines through ser2net as on its own line.
    void same_lines_at_the_unit_as_over_the_pseudo_terminal()
    {
        QStringList lines[2];
        for (const bool network : {false, true}) {
            const QStringList arguments{u"--model"_s, u"QVM"_s, u"--no-pacing"_s};
            RackUnit unit(network ? arguments : arguments + QStringList{u"--com"_s, u"1"_s});
            test::SerialRig rig;
            rig.panel.quvex_Click(2);
            rig.panel.write_unit_Click();
            QCOMPARE(rig.operator_side.message_texts(), QStringList());
            QCOMPARE(rig.view.lines.size(), 65);
            unit.sim->stop(); // its log is whole once it has ended
            lines[network] = unit.sim->heard();
        }
        QCOMPARE(lines[1].size(), 65 + 57 + 8); // 57 items and 8 mode reads, then the writes
        QCOMPARE(lines[1], lines[0]);
    }

    // The unit's time-out runs from the line sent, 11 and 6 ticks, one warning each.
    void silent_unit_times_out()
    {
        RackUnit unit({u"--silent"_s});
        test::SerialRig rig;
        rig.link.open_port();
        rig.link.send_item_value(u"Zoom"_s, 1);
        QCOMPARE(rig.link.state().tick_count, 11);
        rig.link.query_item_value(u"Zoom"_s);
        QCOMPARE(rig.link.state().tick_count, 6);
        QCOMPARE(rig.operator_side.message_texts(), QStringList(2, test::kNoResponse));
        QCOMPARE(rig.operator_side.messages.first().title, u"Error"_s);
    }

    // ser2net goes away before the picture groups: one warning; back again, the next read all
    // connects again by itself.
    void server_stopped_in_a_read_all_then_back()
    {
        RackUnit unit({u"--model"_s, u"QVM"_s, u"--no-pacing"_s});
        test::SerialRig rig;
        rig.operator_side.on_process_events = [&] {
            if (rig.view.lines.size() == 5)
                unit.server.stop();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        };
        rig.panel.quvex_Click(2);
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        QVERIFY(rig.view.lines.size() < 65);

        rig.operator_side.on_process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
        QVERIFY2(unit.server.start(), qPrintable(unit.server.error()));
        rig.panel.read_unit_Click();
        QCOMPARE(rig.operator_side.message_texts(), QStringList{test::kNoResponse});
        QCOMPARE(rig.view.lines.size(), 65);
    }

    // A device server's greeting at connect is never taken for the unit's answer.
    void banner_is_no_answer()
    {
        RackUnit unit({u"--no-pacing"_s}, u"QUVEX rack 3\\r\\n"_s);
        test::SerialRig rig;
        rig.link.open_port();
        QCOMPARE(rig.link.query_item_value(u"Flicker Red."_s)->number(), 3.0);
        QCOMPARE(rig.operator_side.message_texts(), QStringList());
    }

    void open_failures_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("reason");
        QTest::addRow("second client") << u"in use"_s << u"in use (\"Port already in use\")"_s;
        QTest::addRow("turned away by a greeting with ESC, BEL and NUL")
            << u"greeting"_s << u"in use (\"<1B>[2Jbusy<07><00> try later\")"_s;
        QTest::addRow("nothing listening") << u"refused"_s << u"connection refused"_s;
        QTest::addRow("never answers") << u"silent"_s << u"timed out"_s;
    }

    // Choosing the model says why the port would not open and falls back to Dis-connected.
    void open_failures()
    {
        QFETCH(QString, situation);
        RackUnit unit({u"--no-pacing"_s});
        std::unique_ptr<test::SerialRig> first;
        FullListener silent;
        QTcpServer greeting; // greets every client with its words and hangs up
        QVERIFY(greeting.listen(QHostAddress::LocalHost));
        QObject::connect(&greeting, &QTcpServer::newConnection, [&greeting] {
            QTcpSocket *client = greeting.nextPendingConnection();
            client->write(QByteArray("\x1B[2Jbusy\x07\0 try later\r\n", 22));
            client->disconnectFromHost();
        });
        QString target = unit.server.target();
        if (situation == u"in use"_s) {
            first = std::make_unique<test::SerialRig>();
            first->link.open_port();
            QVERIFY(first->link.is_port_open());
        } else {
            const quint16 port = situation == u"refused"_s  ? test::free_tcp_port()
                                 : situation == u"silent"_s ? silent.port
                                                            : greeting.serverPort();
            target = u"tcp://127.0.0.1:%1"_s.arg(port);
            QVERIFY(ports::link_port(1, target).isEmpty());
        }
        test::SerialRig rig;
        rig.panel.quvex_Click(2);
        QCOMPARE(rig.operator_side.message_texts(),
                 QStringList{u"Could not open COM port - please check COM port number."_s});
        QFETCH(QString, reason);
        QCOMPARE(rig.operator_side.messages.first().detail, target + u": "_s + reason);
        QVERIFY(!rig.link.is_port_open() && rig.model.index() == 0);
    }
};

QTEST_GUILESS_MAIN(TestNetworkEndToEnd)
#include "tst_network_end_to_end.moc"
