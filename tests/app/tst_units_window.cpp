// Port › Units...: the Units window over a rack of ports that will not open, on the window.
#include "window_rig.h"

#include <QSignalSpy>

namespace {

// Two numbered ports whose devices are gone; the Units window opened with the first row chosen.
struct UnitsRig : Rig
{
    UnitsRig()
    {
        QVERIFY(QDir().mkpath(folder.filePath(u"quvex/ports"_s)));
        for (const int number : {2, 3})
            QVERIFY(QFile::link(folder.filePath(u"gone%1"_s.arg(number)),
                                folder.filePath(u"quvex/ports/com%1"_s.arg(number))));
        get<QAction>(u"units"_s).trigger();
        units = window.units_window();
        QTRY_COMPARE(QApplication::activeWindow(), units);
        QTRY_VERIFY(state(1).contains(u"does not exist"_s));
    }
    QString state(int row) const { return table().model()->index(row, 4).data().toString(); }
    QTableView &table() const { return units->table(); }
    QString focused() const { return QApplication::focusWidget()->objectName(); }
    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        QCoreApplication::processEvents(); // an editor's Return commits in a queued call
    }
    QAction &action(const QString &name) const { return *units->findChild<QAction *>(name); }

    app::UnitsWindow *units = nullptr;
};

} // namespace

class TestUnitsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Not modal and beside the panel, with the focus on the table; opening it again raises the
    // same window. It watches while it is shown.
    void opens_beside_the_panel_and_watches_while_shown()
    {
        UnitsRig rig;
        QCOMPARE(rig.focused(), u"units"_s);
        QCOMPARE(rig.state(0),
                 rig.folder.filePath(u"gone2"_s)
                     + u" does not exist: the adapter is not plugged in, or the port number names another port."_s);
        QVERIFY(!QApplication::activeModalWidget() && rig.window.centralWidget()->isEnabled());
        QVERIFY(rig.rack.is_watching());
        rig.get<QAction>(u"units"_s).trigger();
        QCOMPARE(rig.window.findChildren<app::UnitsWindow *>().size(), 1);
        QVERIFY(rig.units->isVisible());
        rig.units->close();
        QVERIFY(!rig.rack.is_watching());
    }

    // Tab walks every control that can act now, each with a name a screen reader says; F5
    // refreshes and F2 edits the row's name wherever the row was entered.
    void keyboard()
    {
        UnitsRig rig;
        QStringList walked;
        do {
            walked.append(rig.focused() + u'=' + QApplication::focusWidget()->accessibleName());
            rig.key(Qt::Key_Tab);
        } while (rig.focused() != u"units"_s && walked.size() < 10);
        QCOMPARE(walked, QStringList({u"units=Units"_s, u"units_refresh=Refresh"_s, u"units_back_up=Back up"_s,
                                      u"units_changes=Changes since backup"_s, u"units_load_file=Load file"_s}));

        QSignalSpy reset(&rig.rack, &rack::Rack::rows_reset);
        rig.key(Qt::Key_F5);
        QCOMPARE(reset.size(), 1);
        QTRY_VERIFY(rig.state(1).contains(u"does not exist"_s));
        rig.key(Qt::Key_Down);
        rig.key(Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), u"Studio A genlock"_s);
        rig.key(Qt::Key_Return);
        QCOMPARE(rig.table().model()->index(1, 1).data().toString(), u"Studio A genlock"_s);
        QCOMPARE(rack::UnitNames(rig.folder.filePath(u"names"_s)).name(rig.rack.rows().at(1).target),
                 u"Studio A genlock"_s);
        QCOMPARE(rig.focused(), u"units"_s);

        // A name the file cannot take is not shown, and the operator is told why.
        QVERIFY(QFile::remove(rig.folder.filePath(u"names"_s)) && QDir().mkpath(rig.folder.filePath(u"names"_s)));
        rig.key(Qt::Key_Up);
        rig.key(Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), u"Studio B"_s);
        rig.key(Qt::Key_Return);
        QCOMPARE(rig.table().model()->index(0, 1).data().toString(), QString());
        QCOMPARE(rig.messages, QStringList{u"The name could not be kept."_s});
    }

    // While changes are locked, Load file... is off and says why, and Changes since backup's
    // Send checked is too; unlocked, a file whose model no unit chosen has goes nowhere.
    void lock_and_load_file()
    {
        UnitsRig rig;
        auto &load_file = rig.action(u"units_load_file"_s);
        rig.get<QAction>(u"lock_changes"_s).trigger();
        QVERIFY(!load_file.isEnabled());
        QCOMPARE(load_file.toolTip(), u"Changes are locked: Edit › Lock changes"_s);
        rig.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.dialogs, QStringList());

        rig.checked = QStringList{u"Gamma"_s};
        QSignalSpy finished(&rig.rack, &rack::Rack::run_finished);
        Q_EMIT rig.rack.changes_found({{1, {{u"Gamma"_s, 3, 5}, {u"Hue"_s, 0, 12}}}});
        QTRY_COMPARE(rig.unit_changes, QStringList({u"COM 3"_s, u"  Gamma 3 5"_s, u"  Hue 0 12"_s,
                                                    u"Changes are locked: Edit › Lock changes"_s}));
        QCOMPARE(finished.size(), 0);

        rig.get<QAction>(u"lock_changes"_s).trigger();
        QVERIFY(load_file.isEnabled());
        const QString file = rig.folder.filePath(u"qvm.cfg"_s);
        test::write_file(file, test::settings_header("QUVEXview Max") + test::settings_pair("Gamma", "3"));
        rig.chosen = QStringList{file};
        rig.key(Qt::Key_A, Qt::ControlModifier);
        rig.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.messages, QStringList{u"No unit chosen is of the model of "_s + file + u'.'});
        QCOMPARE(rig.asked, QStringList());
    }
};

QTEST_MAIN(TestUnitsWindow)
#include "tst_units_window.moc"
