#include "support/serial_rig.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace quvex;

// The network line against a device server played by the test on loopback.
class TestTcpPort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A server that talked unasked, beyond what the panel keeps: bounded, and none of it, neither
    // what Qt holds nor what still waits in the system, answers the next line.
    void unasked_input_is_bounded_and_never_an_answer()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        test::SerialRig rig;
        serial::UnitLine &port = rig.port;
        port.set_device(QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort()));
        link::Link &link = rig.link;
        link.open_port();
        QVERIFY(link.is_port_open());
        QVERIFY(server.hasPendingConnections());
        QTcpSocket *unit = server.nextPendingConnection();

        unit->write(QByteArray(20000, '7') + "\r\n");
        QVERIFY(unit->flush());
        QTRY_COMPARE(port.bytes_waiting(), 512);
        connect(unit, &QTcpSocket::readyRead, [unit] {
            if (unit->readAll() == "Zoom\r")
                unit->write("5\r\n");
        });
        const link::Reading reading = link.query_item_value(QStringLiteral("Zoom"));
        QVERIFY(reading && !reading->is_empty());
        QCOMPARE(reading->number(), 5.0);
        QCOMPARE(rig.operator_side.message_texts(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestTcpPort)
#include "tst_tcp_port.moc"
