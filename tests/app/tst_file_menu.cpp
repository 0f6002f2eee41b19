// File: the settings file, files chosen in a dialog, the files used last and the backups.
#include "window_rig.h"

class TestFileMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Saved to a file chosen, an open cancelled, a compare with a file that is not there; then the
    // File menu, opened with the mouse, offers the file that exists and loads it when clicked.
    void file_items_work_on_the_file_chosen()
    {
        Rig rig;
        const QString saved = rig.folder.filePath(u"a.cfg"_s), gone = rig.folder.filePath(u"shows/b.cfg"_s);
        rig.chosen = QStringList{saved, QString(), gone};
        for (const QString &action : u"save_file open_file compare_file"_s.split(u' '))
            rig.get<QAction>(action).trigger();
        QVERIFY(test::file_bytes(saved).startsWith("\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n"));
        QCOMPARE(rig.shown(), u"Could not open file "_s + QDir::toNativeSeparators(gone));
        QCOMPARE(test::file_bytes(rig.folder.filePath(u"config/quvex-panel.conf"_s)),
                 "[General]\nrecent_files=" + gone.toUtf8() + ", " + saved.toUtf8() + '\n');

        rig.get<QAction>(u"open_file"_s).trigger(); // cancelled, in the folder of the file used last

        QMenuBar &bar = *rig.window.menuBar();
        auto &menu = rig.get<QMenu>(u"file"_s);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(menu.menuAction()).center());
        QTRY_VERIFY(menu.isVisible());
        auto &first = rig.get<QAction>(u"recent_file_1"_s);
        QCOMPARE(first.text(), QDir::toNativeSeparators(saved));
        QVERIFY(!rig.get<QAction>(u"recent_file_2"_s).isVisible());
        QStringList captions;
        for (const QAction *action : menu.actions())
            captions.append(action->isSeparator() ? u"-"_s : action->isVisible() ? action->text() : QString());
        captions.removeAll(QString());
        QCOMPARE(captions.join(u'|').remove(rig.folder.path()),
                 u"Open from /missing/quvex.cfg|Compare with /missing/quvex.cfg|Save to /missing/quvex.cfg|-|"
                 "Open file...|Save to file...|Compare with file...|-|/a.cfg|-|Exit"_s);
        rig.unit.set_value(u"FlickerRed."_s, 9);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(&first).center());
        QVERIFY(rig.written().contains(u"FlickerRed.=3"_s));
        rig.get<QAction>(u"open_file"_s).trigger();
        QCOMPARE(rig.dialogs.join(u'|').remove(rig.folder.path()),
                 u"Save to file in /missing|Open file in |Compare with file in |Open file in /shows|Open file in "_s);
    }

    // Qt's own dialog as the operator meets it: a name typed and Return, then Escape.
    void real_file_dialog_takes_a_typed_name_or_cancel()
    {
        Rig rig;
        rig.real_dialogs = true;
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
        const auto answer = [](const QString &typed) {
            QTimer::singleShot(0, [typed] {
                QVERIFY(QTest::qWaitFor([] {
                    return qobject_cast<QFileDialog *>(QApplication::activeModalWidget())
                           && QApplication::focusWidget();
                }));
                QWidget *box = QApplication::focusWidget();
                QTest::keyClicks(box, typed);
                QTest::keyClick(box, typed.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            });
        };
        answer(u"show"_s);
        rig.get<QAction>(u"save_file"_s).trigger();
        QVERIFY(test::file_bytes(rig.folder.filePath(u"missing/show.cfg"_s)).endsWith("\"Video Std         \",0\r\n"));
        rig.unit.clear_sent();
        answer(QString());
        rig.get<QAction>(u"compare_file"_s).trigger();
        QCOMPARE(rig.unit.sent_lines(), QStringList());
        QCOMPARE(rig.shown(), QString());

        QCOMPARE(app::production_hooks().config_file, rig.folder.filePath(u"quvex/quvex-panel.conf"_s));
    }

    // Cancelled first, then sent with two of the three checked.
    void compare_sends_only_the_checked_items()
    {
        Rig rig;
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
        rig.get<QAction>(u"filesave"_s).trigger();
        rig.unit.set_value(u"FlickerRed."_s, 2); // changed at the unit since it was saved
        rig.unit.set_value(u"Zoom"_s, 1);
        rig.unit.set_picture_value(1, 1, u"OutH-Centre:"_s, 500);
        rig.get<QAction>(u"read_unit"_s).trigger();
        auto &compare = rig.get<QAction>(u"filecompare"_s);
        QCOMPARE(compare.text(), u"Compare with "_s + QDir::toNativeSeparators(rig.settings.path()));
        const auto &list = rig.get<QListWidget>(u"menu_list"_s);
        compare.trigger();
        QCOMPARE(rig.offered, (QList<settings::Difference>{
                                  {u"Flicker Red."_s, 3, 2}, {u"PO\\Out H-Centre:"_s, 508, 500}, {u"Zoom"_s, 0, 1}}));
        QCOMPARE(rig.written(), QString());
        QVERIFY(list.findItems(u"PO\\Out H-Centre:  508"_s, Qt::MatchExactly).isEmpty());

        rig.checked = QStringList{u"Flicker Red."_s, u"PO\\Out H-Centre:"_s};
        compare.trigger();
        QCOMPARE(rig.written(), u"FlickerRed.=3 VideoStd=1 Overscan=1 OutH-Centre:=508 VideoStd=0 Overscan=0"_s);
        QCOMPARE(list.findItems(u"PO\\Out H-Centre:  508"_s, Qt::MatchExactly).size(), 1);
        QVERIFY(rig.shown().isEmpty() && rig.unlocked());
    }

    // Backed up, again unchanged, and after a change at the unit: two versions, newest first, the
    // oldest compared with the unit sends only what is checked.
    void backups_of_the_connected_unit()
    {
        Rig rig;
        backup::UnitBackup backups(rig.catalogue, rig.link, rig.bracket, rig.window.operator_side(), rig.panel,
                                   rig.folder.filePath(u"store"_s));
        rig.window.attach_backups(backups);
        auto &now = rig.get<QAction>(u"back_up_now"_s);
        now.trigger();
        now.trigger();
        rig.unit.set_value(u"FlickerRed."_s, 2);
        now.trigger();
        const QString kept = u"The unit's settings are kept as a new version in $/store/dev_ttyS0@QVM."_s;
        QCOMPARE(rig.shown().replace(rig.folder.path(), u"$"_s),
                 kept
                     + u"\nThe unit's settings are those of its newest version in $/store/dev_ttyS0@QVM; none was "
                       "added.\n"_s
                     + kept);
        rig.messages.clear();
        rig.checked = QStringList{u"Flicker Red."_s};
        rig.get<QAction>(u"backups"_s).trigger();
        QCOMPARE(rig.listed.size(), 2);
        QCOMPARE((QList<int>{rig.listed.at(0).changed, rig.listed.at(1).changed}), (QList<int>{1, -1}));
        QCOMPARE(rig.offered, (QList<settings::Difference>{{u"Flicker Red."_s, 3, 2}}));
        QCOMPARE(rig.written(), u"FlickerRed.=3"_s);
        QVERIFY(rig.shown().isEmpty() && rig.unlocked());
    }
};

QTEST_MAIN(TestFileMenu)
#include "tst_file_menu.moc"
