// The window on the real core: each control and menu item must reach its operation and what the
// core sets must show; what the operations do is tested in the core's own tests.
#include "window_rig.h"

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void starts_disconnected_then_a_model_reads_the_unit()
    {
        Rig rig(false);
        QCOMPARE(rig.window.windowTitle(), u"QUVEX control panel"_s);
        QCOMPARE(rig.get(u"quvex_0"_s).text(), u"Dis-connected"_s);
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"1"_s);
        const auto &list = rig.get<QListWidget>(u"menu_list"_s);
        QVERIFY(rig.get(u"quvex_0"_s).isChecked() && list.count() == 0 && rig.get(u"feat_0"_s).isHidden());
        const auto &editor = rig.get<QGroupBox>(u"adjustment"_s);
        QCOMPARE(editor.accessibleName(), u"Selected adjustment"_s);
        rig.unit.refuse_open = true; // the unit type falls back when the port will not open
        rig.get(u"quvex_3"_s).click();
        QCOMPARE(rig.shown(), u"Could not open COM port - please check COM port number."_s);
        QVERIFY(rig.get(u"quvex_0"_s).isChecked() && list.count() == 0);

        rig.unit.refuse_open = false;
        rig.unit.set_value(u"Overscan"_s, 1);
        rig.get(u"quvex_2"_s).click();
        QCOMPARE(list.count(), 65);
        QCOMPARE(list.item(0)->text(), u"Overscan          1 (On)"_s);
        QVERIFY(rig.statuses.contains(u"Reading 1 of 65: Overscan"_s));
        rig.click(u"Overscan"_s);
        QCOMPARE(editor.title(), u"Overscan"_s);
        QCOMPARE(editor.accessibleName(), u"Selected adjustment: Overscan"_s); // what a screen reader says
        rig.click(u"Pan X Pos:"_s);
        QCOMPARE(editor.accessibleName(), u"Selected adjustment: Pan X Pos:"_s);
        rig.click(u"Overscan"_s);
        QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).text(), u"1"_s);
        QCOMPARE(rig.get(u"feat_1"_s).text(), u"On"_s);
        QVERIFY(rig.get(u"feat_1"_s).isVisible() && rig.get(u"feat_1"_s).isChecked()
                && rig.get(u"feat_2"_s).isHidden());
    }

    // A real click on each button in turn, each in the sense its picture shows; then each menu item,
    // with a value typed and left in the box: opening a menu takes the focus, and sends nothing.
    void each_control_reaches_its_operation()
    {
        Rig rig;
        rig.click(u"Pan X Pos:"_s);
        for (const QString &button : u"inc dec Command1 Command5 Command4 Command3 Command6 Command7 Command8 Command9 "
                                     "Command2 Command20 Command22 Command21 feat_1 Command13 Command10 Command11 "
                                     "Command12 Command24"_s.split(u' '))
            rig.click(button);
        auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
        value_box.selectAll();
        QTest::keyClicks(&value_box, u"42"_s);
        QFocusEvent focus_out(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(&value_box, &focus_out);
        QCOMPARE(rig.written(),
                 u"PanXPos:=1 PanXPos:=0 OutV-Centre:=255 OutV-Centre:=256 OutH-Centre:=511 OutH-Centre:=512 "
                 "OutH-Width:=641 OutH-Width:=640 OutV-Height:=481 OutV-Height:=480 Zoom=1 Zoom=0 "
                 "Overscan=1 Overscan=0 Overscan=1 PanYPos:=1 PanYPos:=0 PanXPos:=1 PanXPos:=0 AutoSet=1"_s);

        QStringList first_lines;
        for (const QString &action :
             u"fileopen filesave store_settings vga_store read_unit write_unit reset_unit"_s.split(u' ')) {
            rig.unit.clear_sent();
            rig.get<QAction>(action).trigger();
            first_lines.append(rig.unit.sent_lines().value(0));
        }
        QCOMPARE(first_lines.join(u'|'), u"||StoreSettings=1|VGAStore=1|Overscan|Overscan=1|Reset=1"_s);
        const QString file = QDir::toNativeSeparators(rig.settings.path());
        QCOMPARE(rig.shown(),
                 u"Could not open file %1\nError writing to %1\nClick OK when unit has reset."_s.arg(file));
    }

    void closing_closes_the_port_but_exit_does_not()
    {
        Rig closing, exiting;
        QVERIFY(closing.window.close());
        exiting.get<QAction>(u"exit"_s).trigger();
        QCOMPARE(closing.shown(), u"COM port closed."_s);
        QCOMPARE(exiting.shown(), QString());
        QVERIFY(!closing.unit.is_open() && exiting.unit.is_open());
        QVERIFY(closing.quits == 1 && exiting.quits == 1);
    }

    void operations_lock_controls_and_menus_data()
    {
        QTest::addColumn<QString>("control"); // a button, else a menu item
        QTest::addColumn<bool>("silent");
        QTest::addRow("store settings, unit silent") << u"store_settings"_s << true;
        QTest::addRow("auto set") << u"Command24"_s << false;
        QTest::addRow("picture right, unit silent") << u"Command3"_s << true;
        QTest::addRow("read all") << u"read_unit"_s << false;
    }

    // Closing is refused from the start to the end of an operation, its warnings included: the
    // port must not go from under an exchange, nor a warning appear for a window that is gone.
    void operations_lock_controls_and_menus()
    {
        QFETCH(QString, control);
        QFETCH(bool, silent);
        Rig rig;
        rig.click(u"Flicker Red."_s);
        if (silent)
            rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.messages.clear();
        int turns = 0, unlocked = 0, closed = 0;
        rig.while_waiting = [&] {
            ++turns;
            unlocked += rig.unlocked();
            closed += rig.window.close();
        };
        if (rig.window.findChild<QAbstractButton *>(control))
            rig.click(control);
        else
            rig.get<QAction>(control).trigger();

        QVERIFY(turns > 0 && unlocked == 0 && closed == 0);
        QCOMPARE(rig.shown(), silent ? test::kNoResponse : QString());
        QVERIFY(rig.unlocked() && rig.window.isVisible() && rig.unit.is_open());
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("line");  // picked with the mouse first
        QTest::addColumn<QString>("focus"); // the control the keys go to
        QTest::addColumn<QString>("keys");  // key names, or "=text" typed
        QTest::addColumn<QString>("wire");  // lines sent after the keys
        QTest::addColumn<QString>("focused");
        const QString flicker = u"Flicker Red."_s, box = u"item_value"_s, list = u"menu_list"_s;
        QTest::addRow("Space on plus") << flicker << u"inc"_s << u"Space"_s << u"FlickerRed.=5 FlickerRed."_s
                                       << u"inc"_s;
        QTest::addRow("Enter in the value box")
            << flicker << box << u"=42 Return"_s << u"FlickerRed.=42 FlickerRed."_s << box;
        QTest::addRow("keypad Enter, twice") << flicker << box << u"=42 Enter =7 Enter"_s
                                             << u"FlickerRed.=42 FlickerRed. FlickerRed.=7 FlickerRed."_s << box;
        QTest::addRow("typed, then Tab") << flicker << box << u"=42 Tab"_s << u"FlickerRed.=42 FlickerRed."_s
                                         << u"dec"_s;
        QTest::addRow("Down in the list") << u"Overscan"_s << list << u"Down"_s << u"ImageFreeze"_s << list;
        QTest::addRow("Down onto a heading") << flicker << list << u"Down"_s << u"Genlock"_s << list;
        QTest::addRow("Up onto a heading") << u"Genlock"_s << list << u"Up"_s << u"FlickerRed."_s << list;
        QTest::addRow("End of the list") << flicker << list << u"End"_s << u"VideoStd"_s << list;
        QTest::addRow("arrow in the unit-type group") << flicker << u"quvex_2"_s << u"Down"_s << u""_s << u"quvex_3"_s;
        QTest::addRow("arrow then Space in the unit-type group")
            << flicker << u"quvex_2"_s << u"Down Down Space"_s << u"Overscan"_s << u"quvex_4"_s;
        QTest::addRow("arrow among option buttons") << u"Zoom "_s << u"feat_0"_s << u"Down"_s << u""_s << u"feat_1"_s;
        QTest::addRow("arrow then Space among option buttons")
            << u"Zoom "_s << u"feat_0"_s << u"Down Space"_s << u"Zoom=1 Zoom"_s << u"feat_1"_s;
    }

    // Real key events through the window system, as a keyboard user's arrive. Each key is held a
    // while: its repeats that come while the unit is asked must not pile up into a run of exchanges.
    void keyboard()
    {
        QFETCH(QString, line);
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        Rig rig;
        rig.click(line);
        rig.unit.clear_sent();
        rig.get<QWidget>(focus).setFocus(Qt::TabFocusReason);
        Qt::Key held = Qt::Key_unknown;
        Qt::KeyboardModifiers modifiers;
        int repeats = 0;
        rig.while_waiting = [&] {
            if (repeats-- > 0)
                QTest::keyClick(rig.window.windowHandle(), held, modifiers);
        };
        for (const QString &key : keys.split(u' ')) {
            if (key.startsWith(u'=')) {
                QTest::keyClicks(QApplication::focusWidget(), key.mid(1));
                continue;
            }
            held = Qt::Key(QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + key).toLatin1().constData()));
            modifiers = key == u"Enter"_s ? Qt::KeypadModifier : Qt::NoModifier;
            repeats = 3;
            QTest::keyClick(rig.window.windowHandle(), held, modifiers);
        }
        QCoreApplication::processEvents();
        QFETCH(QString, wire);
        if (wire == u"Overscan"_s) // a unit type chosen reads the whole unit
            QCOMPARE(rig.unit.sent_lines().value(0), wire);
        else
            QCOMPARE(rig.unit.sent_lines().join(u' '), wire);
        QTEST(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), "focused");
        if (keys.contains(u"Return"_s))
            QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).selectedText(), u"42"_s);
    }

    void tab_order_follows_the_window()
    {
        Rig rig;
        rig.click(u"Overscan"_s);
        rig.get<QWidget>(u"commport"_s).setEnabled(true); // the port box only takes focus while disconnected
        rig.get<QWidget>(u"commport"_s).setFocus(Qt::TabFocusReason);
        QStringList walk;
        for (int i = 0; i < 24; ++i) {
            walk.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(walk.join(u' '), u"commport quvex_2 inc item_value dec feat_0 Command24 Command21 Command22 Command1 "
                                  "Command4 Command3 Command5 Command6 Command7 Command8 Command9 Command2 Command20 "
                                  "Command13 Command11 Command12 Command10 menu_list"_s);
        QCOMPARE(rig.unit.sent_lines(), QStringList{u"Overscan"_s}); // the click's read, nothing after
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
