// Network port...'s dialog: host and TCP port as written.
#include "window_rig.h"

class TestNetworkPortDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void network_port_dialog_takes_a_host_as_written_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("target"); // with 5009 in the TCP port box; empty: OK is off
        QTest::addRow("IPv6 in brackets") << u"[::1]"_s << u"tcp://[::1]:5009"_s;
        QTest::addRow("an address pasted") << u" tcp://rack3:4001"_s << u"tcp://rack3:4001"_s;
        QTest::addRow("an IPv6 address pasted") << u"tcp://[::1]:4001"_s << u"tcp://[::1]:4001"_s;
        QTest::addRow("tcp:// alone") << u"tcp://"_s << QString();
    }

    void network_port_dialog_takes_a_host_as_written()
    {
        QFETCH(QString, host);
        QFETCH(QString, target);
        app::NetworkPortDialog dialog(nullptr, 7, {});
        dialog.findChild<QSpinBox *>(u"network_tcp_port"_s)->setValue(5009);
        dialog.findChild<QLineEdit *>(u"network_host"_s)->setText(host);
        QCOMPARE(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), !target.isEmpty());
        if (!target.isEmpty())
            QCOMPARE(dialog.target(), target);
    }
};

QTEST_MAIN(TestNetworkPortDialog)
#include "tst_network_port_dialog.moc"
