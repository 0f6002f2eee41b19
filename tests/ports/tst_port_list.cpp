// The candidate ports on a fake system: its serial ports given as data, files standing in for
// devices, and the ports folder and a by-id folder of the test's own.
#include "ports/port_device.h"
#include "ports/port_list.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex;
using namespace Qt::StringLiterals;

class TestPortList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    // $ in a table's text stands for the test's folder.
    QString at(QString text) const { return text.replace(u'$', m_root.path()); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(QDir(m_root.path()).removeRecursively() && QDir().mkpath(m_root.filePath(u"by-id"_s)));
        qputenv("XDG_CONFIG_HOME", m_root.path().toLocal8Bit());
        for (const QString &device : {u"ttyUSB0"_s, u"ttyACM0"_s, u"pts"_s})
            QVERIFY(QFile(m_root.filePath(device)).open(QIODevice::WriteOnly));
    }

    void list_data()
    {
        QTest::addColumn<QStringList>("system"); // each device|description|manufacturer|serial
        QTest::addColumn<QStringList>("links");  // each N=target
        QTest::addColumn<QStringList>("by_id");  // each name=target
        QTest::addColumn<QStringList>("listed"); // each number|device|description|stable name
        QTest::addRow("ttyS numbered by themselves")
            << QStringList{u"/dev/ttyS4|||"_s, u"/dev/ttyS0|||"_s} << QStringList() << QStringList()
            << QStringList{u"1|/dev/ttyS0||"_s, u"5|/dev/ttyS4||"_s};
        QTest::addRow("a link hides ttyS") << QStringList{u"/dev/ttyS2|||"_s} << QStringList{u"3=$/pts"_s}
                                           << QStringList() << QStringList{u"3|$/pts||"_s, u"0|/dev/ttyS2||"_s};
        QTest::addRow("a link through the by-id link")
            << QStringList{u"$/ttyUSB0|FT232R USB UART|FTDI|A50285BI"_s} << QStringList{u"4=$/by-id/usb-FTDI-if00"_s}
            << QStringList{u"usb-FTDI-if00=$/ttyUSB0"_s}
            << QStringList{u"4|$/ttyUSB0|FTDI FT232R USB UART A50285BI|$/by-id/usb-FTDI-if00"_s};
        QTest::addRow("an adapter without a number, its maker added")
            << QStringList{u"$/ttyACM0|USB modem|Prolific|"_s} << QStringList{u"2=../../pts"_s} << QStringList()
            << QStringList{u"2|$/pts||"_s, u"0|$/ttyACM0|Prolific USB modem|"_s};
        QTest::addRow("two links to one device: the lowest")
            << QStringList{u"$/ttyUSB0|||"_s} << QStringList{u"6=$/ttyUSB0"_s, u"2=$/ttyUSB0"_s} << QStringList()
            << QStringList{u"2|$/ttyUSB0||"_s};
        QTest::addRow("a device gone, a network port")
            << QStringList() << QStringList{u"9=tcp://unit:4001"_s, u"7=$/gone"_s} << QStringList{u"usb-gone=$/gone"_s}
            << QStringList{u"7|$/gone||$/by-id/usb-gone"_s, u"9|tcp://unit:4001||"_s};
    }

    void list()
    {
        QFETCH(QStringList, system);
        QFETCH(QStringList, links);
        QFETCH(QStringList, by_id);
        QList<ports::SystemPort> reported;
        for (const QString &port : system) {
            const QStringList fields = at(port).split(u'|');
            reported.append({fields.at(0), fields.at(1), fields.at(2), fields.at(3)});
        }
        for (const QString &link : links)
            QCOMPARE(ports::link_port(link.section(u'=', 0, 0).toInt(), at(link.section(u'=', 1))), QString());
        for (const QString &name : by_id)
            QVERIFY(QFile::link(at(name.section(u'=', 1)), m_root.filePath(u"by-id/"_s + name.section(u'=', 0, 0))));

        QStringList got;
        for (const ports::PortEntry &entry : ports::list_ports(reported, m_root.filePath(u"by-id"_s)))
            got.append(
                QStringList{QString::number(entry.number), entry.device, entry.description, entry.stable_name}.join(
                    u'|'));
        QFETCH(QStringList, listed);
        for (QString &line : listed)
            line = at(line);
        QCOMPARE(got, listed);
    }
};

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_port_list.moc"
