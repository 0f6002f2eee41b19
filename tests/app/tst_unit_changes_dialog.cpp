// Changes since backup's dialog: the items of several units, grouped by unit, each ticked.
#include "window_rig.h"

class TestUnitChangesDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void send_checked_data()
    {
        QTest::addColumn<QString>("locked");
        QTest::addRow("unlocked") << QString();
        QTest::addRow("locked") << u"Changes are locked: Edit › Lock changes"_s;
    }

    // Unticking a unit unticks all its items; units with nothing ticked are left out. While
    // changes are locked Send checked is off and says why.
    void send_checked()
    {
        QFETCH(QString, locked);
        const QList<rack::UnitChanges> changes{{2, {{u"Gamma"_s, 3, 5}, {u"Hue"_s, 0, 12}}},
                                               {5, {{u"Contrast"_s, 40, 41}}}};
        app::UnitChangesDialog dialog(nullptr, changes, {u"COM 3 Studio A"_s, u"COM 6"_s}, locked);
        QTreeWidget &list = dialog.list();
        QCOMPARE(list.topLevelItem(0)->text(0), u"COM 3 Studio A"_s);
        QCOMPARE(list.topLevelItem(0)->child(1)->text(1) + u' ' + list.topLevelItem(0)->child(1)->text(2), u"0 12"_s);
        list.topLevelItem(0)->child(0)->setCheckState(0, Qt::Unchecked);
        list.topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        const QList<rack::UnitChanges> checked = dialog.checked();
        QCOMPARE(checked.size(), 1);
        QCOMPARE(checked.at(0).row, 2);
        QCOMPARE(checked.at(0).differences, QList<settings::Difference>{changes.at(0).differences.at(1)});
        auto &send = *dialog.findChild<QPushButton *>(u"send_checked"_s);
        QCOMPARE(send.isEnabled(), locked.isEmpty());
        QCOMPARE(send.toolTip(), locked);
    }
};

QTEST_MAIN(TestUnitChangesDialog)
#include "tst_unit_changes_dialog.moc"
