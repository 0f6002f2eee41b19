// The Port menu's decisions, with the ports folder and the devices in a folder of the test's own.
#include "ports/port_device.h"
#include "probe/unit_finder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quvex;
using namespace Qt::StringLiterals;

class TestUnitFinder : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    // $ in a table's text stands for the test's folder.
    QString at(QString text) const { return text.replace(u'$', m_root.path()); }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_root.path().toLocal8Bit());
        QVERIFY(QFile(at(u"$/pty"_s)).open(QIODevice::WriteOnly) && QFile::link(at(u"$/pty"_s), at(u"$/pty_link"_s)));
    }

    void choosing_a_port_data()
    {
        QTest::addColumn<QString>("how"); // an entry chosen, a unit Find units found, or a port without one
        QTest::addColumn<int>("number");  // the port's own number; 0: none
        QTest::addColumn<QString>("stable_name");
        QTest::addColumn<QString>("open"); // the device the panel has open; the box holds 1
        QTest::addColumn<QString>("steps");
        const QString usb = u"/dev/ttyUSB7"_s, by_id = u"/dev/serial/by-id/usb-FTDI-if00"_s;
        QTest::addRow("a number goes in the box") << u"entry"_s << 2 << by_id << QString() << u"box 2"_s;
        QTest::addRow("no number: linked by its by-id name")
            << u"entry"_s << 0 << by_id << QString() << u"link 1 "_s + by_id;
        QTest::addRow("no number and no by-id name") << u"entry"_s << 0 << QString() << QString() << u"link 1 "_s + usb;
        QTest::addRow("the open number is never relinked") << u"entry"_s << 0 << by_id << u"/dev/ttyS0"_s << u""_s;
        QTest::addRow("found, nothing open") << u"found"_s << 2 << QString() << QString() << u"box 2 model 3"_s;
        QTest::addRow("found while another is open")
            << u"found"_s << 0 << by_id << u"/dev/ttyS0"_s << u"disconnect link 1 "_s + by_id + u" model 3"_s;
        QTest::addRow("the panel's own unit") << u"found"_s << 2 << QString() << u"/dev/../dev/ttyUSB7"_s << u""_s;
        QTest::addRow("no unit there") << u"silent"_s << 2 << QString() << QString() << u""_s;
    }

    void choosing_a_port()
    {
        QFETCH(QString, how);
        QFETCH(int, number);
        QFETCH(QString, stable_name);
        QFETCH(QString, open);
        const ports::PortEntry port{number, u"/dev/ttyUSB7"_s, {}, stable_name};
        const probe::UnitFinder finder(1, open);
        QStringList steps;
        const auto use = [&steps](const probe::UnitFinder::PortUse &use) {
            if (use.box_number != 0)
                steps << u"box %1"_s.arg(use.box_number);
            else if (use.link_number != 0)
                steps << u"link %1 %2"_s.arg(use.link_number).arg(use.link_target);
        };
        if (how == u"entry"_s) {
            use(finder.use(port));
        } else {
            const auto outcome = how == u"found"_s ? probe::ProbeOutcome::Found : probe::ProbeOutcome::NoAnswer;
            if (const auto connect = finder.connect({port, outcome, 3, {}})) {
                if (connect->disconnect_first)
                    steps << u"disconnect"_s;
                use(connect->port);
                steps << u"model %1"_s.arg(connect->model_index);
            }
        }
        QTEST(steps.join(u' '), "steps");
    }

    void detect_model_chooses_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("choice"); // -1: the model chosen stays
        QTest::addColumn<QString>("message");
        QTest::addRow("fits no model") << 0 << 2 << -1 << u"The unit's answers fit no QUVEX model."_s;
        QTest::addRow("the model chosen") << 2 << 2 << -1 << QString();
        QTest::addRow("disconnected") << 2 << 0 << 2 << QString();
        QTest::addRow("a wrong guess") << 2 << 3 << 2
                                       << u"The unit on COM 4 is QUVEXview Max, not QUVEXview Max X as chosen."_s;
    }

    void detect_model_chooses()
    {
        QFETCH(int, found);
        QFETCH(int, chosen);
        const probe::UnitFinder::ModelChoice choice = probe::UnitFinder(4, {}).detected(found, chosen);
        QTEST(choice.model_index.value_or(-1), "choice");
        QTEST(choice.message, "message");
    }

    void asked_before_linking_data()
    {
        QTest::addColumn<QString>("now"); // what COM 2 names; empty: nothing
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("question");
        QTest::addRow("another device") << u"$/pty"_s << u"$/ttyUSB7"_s
                                        << u"COM 2 is $/pty now. Make it $/ttyUSB7 instead?"_s;
        QTest::addRow("the same device by a link") << u"$/pty"_s << u"$/pty_link"_s << QString();
        QTest::addRow("a network port") << u"tcp://rack3:4001"_s << u"tcp://[fd00::7]:4002"_s
                                        << u"COM 2 is tcp://rack3:4001 now. Make it tcp://[fd00::7]:4002 instead?"_s;
        QTest::addRow("a link to nothing")
            << u"$/gone"_s << u"$/pty"_s << u"COM 2 is $/gone now. Make it $/pty instead?"_s;
    }

    void asked_before_linking()
    {
        QFETCH(QString, now);
        QFETCH(QString, target);
        QFETCH(QString, question);
        QCOMPARE(ports::link_port(2, at(now)), QString());
        QCOMPARE(probe::UnitFinder::link_question(2, at(target)), at(question));
    }
};

QTEST_GUILESS_MAIN(TestUnitFinder)
#include "tst_unit_finder.moc"
