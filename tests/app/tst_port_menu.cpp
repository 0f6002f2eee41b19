// Port: the port entries, Network port... and Detect model, on the window.
#include "window_rig.h"

class TestPortMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Read afresh at each opening. A port with a number puts it in the box; one without is linked
    // as the box's number, by its by-id name, after asking when the number names another device.
    void port_entries_number_or_link_a_port()
    {
        Rig rig(false);
        const QString adapter = rig.folder.filePath(u"ttyUSB7"_s), pty = rig.folder.filePath(u"pty"_s);
        const QString by_id = rig.folder.filePath(u"by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"_s);
        QVERIFY(QFile(adapter).open(QIODevice::WriteOnly) && QFile(pty).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"by-id"_s)) && QFile::link(adapter, by_id));
        QCOMPARE(ports::link_port(2, pty), QString());
        QCOMPARE(rig.port_texts(), QStringList{u"COM 2  "_s + pty});
        rig.system = {{adapter, u"FT232R USB UART"_s, u"FTDI"_s, u"A50285BI"_s}};
        QCOMPARE(rig.port_texts(), QStringList({u"COM 2  "_s + pty, u"Link as COM 1:  "_s + adapter
                                                                        + u"  FTDI FT232R USB UART A50285BI"_s}));

        rig.choose_port(0);
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"2"_s);
        rig.answer = false;
        rig.choose_port(1);
        QCOMPARE(ports::port_device(2), pty);
        rig.answer = true;
        rig.choose_port(1);
        QCOMPARE(ports::port_device(2), by_id);
        QCOMPARE(rig.asked, QStringList(2, u"COM 2 is %1 now. Make it %2 instead?"_s.arg(pty, by_id)));
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).toolTip(), u"COM 2 is "_s + by_id);

        rig.get(u"quvex_2"_s).click();
        QCOMPARE(rig.port_texts(),
                 QStringList{u"COM 2  "_s + adapter + u"  FTDI FT232R USB UART A50285BI (disabled)"_s});
    }

    // Network port... asks host and TCP port in its own dialog, typed in, and makes the number in
    // the box reach that server, asking first when the number names something else; never while a
    // port is open.
    void network_port_links_the_number_in_the_box()
    {
        Rig rig(false);
        auto &network_port = rig.get<QAction>(u"network_port"_s);
        auto &port_box = rig.get<QLineEdit>(u"commport"_s);
        port_box.setText(u"7"_s);
        QCOMPARE(ports::link_port(7, u"tcp://rack3:4001"_s), QString());
        const auto typed = [](const std::function<void(QWidget * host)> &keys) {
            QTimer::singleShot(0, [keys] {
                QVERIFY(QTest::qWaitFor([] {
                    const QWidget *dialog = QApplication::activeModalWidget();
                    return dialog && dialog->isActiveWindow() && dialog->isAncestorOf(QApplication::focusWidget());
                }));
                keys(QApplication::focusWidget());
            });
        };
        typed([](QWidget *host) { QTest::keyClick(host, Qt::Key_Escape); });
        network_port.trigger();
        typed([](QWidget *host) {
            QTest::keyClick(host, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(host, Qt::Key_Backspace);
            QTest::keyClick(host, Qt::Key_Return); // no host: OK is off
            QTest::keyClicks(host, u"fd00::7"_s);
            QTest::keyClick(host, Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), u"4002"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        network_port.trigger();
        QCOMPARE(rig.asked, QStringList{u"COM 7 is tcp://rack3:4001 now. Make it tcp://[fd00::7]:4002 instead?"_s});
        QCOMPARE(port_box.toolTip(), u"COM 7 is tcp://[fd00::7]:4002"_s);

        rig.get(u"quvex_2"_s).click();
        QVERIFY(!network_port.isEnabled());
        rig.get(u"quvex_0"_s).click();
        QVERIFY(network_port.isEnabled());
    }

    void detect_model_data()
    {
        QTest::addColumn<int>("behaviour"); // a FakeUnit::Behaviour
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("asked");
        QTest::addRow("the model chosen") << int(test::FakeUnit::Behaviour::Answer) << QString() << 4;
        QTest::addRow("silent") << int(test::FakeUnit::Behaviour::Silent) << test::kNoResponse << 1;
    }

    // Through the panel's own link, with the window locked; a "?" answer is no wrong model here.
    // Nothing but the probes goes out, and the model stays chosen.
    void detect_model()
    {
        QFETCH(int, behaviour);
        Rig rig;
        rig.unit.behaviour = test::FakeUnit::Behaviour(behaviour);
        int unlocked = 0;
        rig.while_waiting = [&] { unlocked += rig.unlocked(); };
        rig.get<QAction>(u"detect_model"_s).trigger();
        QTEST(rig.shown(), "shown");
        QFETCH(int, asked);
        const QStringList probes{u"Genlock"_s, u"Buttons"_s, u"Keyer"_s, u"Clockwidth:"_s};
        QCOMPARE(rig.unit.sent_lines(), probes.mid(0, asked));
        QVERIFY(rig.get(u"quvex_2"_s).isChecked() && unlocked == 0 && rig.unlocked());
    }
};

QTEST_MAIN(TestPortMenu)
#include "tst_port_menu.moc"
