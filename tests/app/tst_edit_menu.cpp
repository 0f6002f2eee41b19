// Edit: the lock that keeps every change from the unit, and Undo and Redo of the changes sent.
#include "window_rig.h"

class TestEditMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lock_keeps_changes_from_the_unit_data()
    {
        QTest::addColumn<QString>("input"); // a button, "type <text> <key>", "menu <item>", or "recent"
        QStringList inputs =
            u"inc dec feat_1 Command1 Command5 Command4 Command3 Command6 Command7 Command8 Command9 "
            "Command2 Command20 Command13 Command10 Command11 Command12 Command21 Command22 Command24"_s.split(u' ');
        inputs << u"type 0 Return"_s << u"type 0 Tab"_s << u"recent"_s;
        for (const QString &item : u"fileopen open_file filecompare compare_file store_settings vga_store write_unit "
                                   "reset_unit"_s.split(u' '))
            inputs << u"menu "_s + item;
        for (const QString &input : inputs)
            QTest::addRow("%s", qPrintable(input)) << input;
    }

    // Each path that changes the unit, used while changes are locked: nothing it sends changes the
    // unit (the compare's own read may switch modes before the list), no control or menu item
    // changes its enabled state, the status line says why and the editor shows the unit's value.
    void lock_keeps_changes_from_the_unit()
    {
        QFETCH(QString, input);
        Rig rig;
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
        rig.get<QAction>(u"filesave"_s).trigger();        // a file to open and compare, and to use again
        rig.chosen = QStringList(2, rig.settings.path()); // the second for Compare with file...
        rig.get<QAction>(u"save_file"_s).trigger();
        rig.unit.set_value(u"Zoom"_s, 1);
        rig.click(u"Zoom "_s);
        rig.checked = QStringList{u"Zoom"_s};
        const auto disabled = [&rig] {
            QStringList off;
            for (const QWidget *widget : rig.window.centralWidget()->findChildren<QWidget *>())
                off.append(widget->isEnabled() ? QString() : widget->objectName());
            for (const QAction *action : rig.window.findChildren<QAction *>())
                off.append(action->isEnabled() || !action->isVisible() ? QString() : action->objectName());
            return off.join(u' ').simplified();
        };
        const QString before = disabled();
        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(rig.get<QAction>(u"lock_changes"_s).isChecked());
        rig.unit.clear_sent();
        rig.dialogs.clear();

        const QStringList words = input.split(u' ');
        auto &box = rig.get<QLineEdit>(u"item_value"_s);
        auto &file = rig.get<QMenu>(u"file"_s);
        if (words[0] == u"type"_s) {
            box.setFocus();
            box.selectAll();
            QTest::keyClicks(&box, words[1]);
            QTest::keyClick(&box, words[2] == u"Tab"_s ? Qt::Key_Tab : Qt::Key_Return);
        } else if (words[0] == u"menu"_s) {
            rig.get<QAction>(words[1]).trigger();
        } else if (input == u"recent"_s) {
            QMenuBar &bar = *rig.window.menuBar();
            QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(file.menuAction()).center());
            QTRY_VERIFY(file.isVisible());
            QTest::mouseClick(&file, Qt::LeftButton, {},
                              file.actionGeometry(&rig.get<QAction>(u"recent_file_1"_s)).center());
        } else {
            rig.click(input);
        }
        QCoreApplication::processEvents();
        QCOMPARE(rig.written(), QString());
        QCOMPARE(rig.get<QLabel>(u"wire_hint"_s).text(), u"Changes are locked: Edit › Lock changes"_s);
        QCOMPARE(disabled(), before);
        QCOMPARE(box.text(), u"1"_s);
        QVERIFY(rig.shown().isEmpty() && rig.dialogs.filter(u"Open file"_s).isEmpty());
    }

    // A second window on the same settings starts locked; reading goes on, and unlocked it sends.
    void lock_survives_a_restart_and_reads_go_on()
    {
        QTemporaryDir config;
        {
            Rig first(false, config.filePath(u"panel.conf"_s));
            QVERIFY(first.get<QLabel>(u"lock_mark"_s).isHidden());
            QTest::keyClick(&first.window, Qt::Key_L, Qt::ControlModifier);
            QVERIFY(first.get<QLabel>(u"lock_mark"_s).isVisible());
        }
        Rig rig(true, config.filePath(u"panel.conf"_s));
        QVERIFY(rig.get<QAction>(u"lock_changes"_s).isChecked());
        QCOMPARE(rig.get<QLabel>(u"lock_mark"_s).text(), u"Changes locked"_s);
        rig.click(u"Flicker Red."_s);
        rig.click(u"inc"_s);
        rig.get<QAction>(u"read_unit"_s).trigger();
        QCOMPARE(rig.unit.sent_lines().mid(0, 3), QStringList({u"FlickerRed."_s, u"Overscan"_s, u"ImageFreeze"_s}));
        QVERIFY(rig.written().startsWith(u"Overscan=1 VideoStd=1"_s)); // the read's switches to the picture groups
        rig.unit.clear_sent();
        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        rig.click(u"inc"_s);
        QCOMPARE(rig.written(), u"FlickerRed.=5"_s);
        QVERIFY(rig.get<QLabel>(u"lock_mark"_s).isHidden());
    }

    // The Edit menu names each step. In the value box Ctrl+Z takes back the typing first, then
    // the last change sent; a step the unit does not take stays; locked, Undo is off; after
    // Reset it says why it cannot undo.
    void undo_and_redo_from_the_edit_menu()
    {
        Rig rig;
        auto &undo = rig.get<QAction>(u"undo"_s);
        auto &redo = rig.get<QAction>(u"redo"_s);
        QCOMPARE(rig.window.menuBar()->actions().at(1)->text(), u"Edit"_s);
        rig.click(u"Flicker Red."_s);
        auto &box = rig.get<QLineEdit>(u"item_value"_s);
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, u"7"_s);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(undo.text(), u"Undo Flicker Red. 3 → 7"_s);
        QTest::keyClicks(&box, u"9"_s);
        rig.unit.clear_sent();
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.text(), u"7"_s);
        QCOMPARE(rig.unit.sent_lines(), QStringList());
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rig.unit.sent_lines().join(u' '), u"FlickerRed.=3 FlickerRed."_s);
        QCOMPARE(box.text(), u"3"_s);
        QVERIFY(!undo.isEnabled() && redo.text() == u"Redo Flicker Red. 3 → 7"_s);
        rig.unit.clear_sent();
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rig.unit.sent_lines().join(u' '), u"FlickerRed.=7 FlickerRed."_s);

        rig.click(u"Command3"_s);
        QCOMPARE(undo.text(), u"Undo NU\\Out H-Centre: 512 → 513"_s);
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        undo.trigger();
        QCOMPARE(rig.shown(), test::kNoResponse + u"\nNot undone: NU\\Out H-Centre:"_s);
        QCOMPARE(undo.text(), u"Undo NU\\Out H-Centre: 512 → 513"_s);
        rig.unit.behaviour = test::FakeUnit::Behaviour::Answer;

        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!undo.isEnabled() && undo.toolTip() == u"Changes are locked: Edit › Lock changes"_s);
        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(undo.isEnabled());
        rig.get<QAction>(u"reset_unit"_s).trigger();
        QCOMPARE(undo.text(), u"Can't undo: Reset unit"_s);
        QVERIFY(!undo.isEnabled() && !redo.isEnabled());
    }
};

QTEST_MAIN(TestEditMenu)
#include "tst_edit_menu.moc"
