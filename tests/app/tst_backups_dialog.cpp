// The unit's backed-up versions, newest first, one chosen to compare with the unit.
#include "window_rig.h"

class TestBackupsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_as_meant()
    {
        app::BackupsDialog backups(nullptr, {{{u"/b.cfg"_s, u"2026-12-07T16:38:12Z"_s}, 2}, {{u"/a.cfg"_s, {}}, -1}});
        QCOMPARE(backups.list().topLevelItem(0)->text(1) + backups.list().topLevelItem(1)->text(1), u"2first"_s);
        QCOMPARE(backups.chosen(), u"/b.cfg"_s);
        QCOMPARE(backups.findChild<QPushButton *>(u"compare_with_unit"_s)->text(), u"Compare with unit"_s);
    }
};

QTEST_MAIN(TestBackupsDialog)
#include "tst_backups_dialog.moc"
