// The differences of a compare, each checked to be sent.
#include "window_rig.h"

class TestCompareDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_as_meant()
    {
        app::CompareDialog dialog(nullptr, {{u"Zoom"_s, 1, 0}, {u"Sense"_s, 2.5, 16}});
        QCOMPARE(dialog.list().topLevelItem(1)->text(1), u"2.5"_s);
        dialog.list().topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(dialog.checked(), (QList<settings::Difference>{{u"Sense"_s, 2.5, 16}}));
        QCOMPARE(dialog.findChild<QPushButton *>(u"send_checked"_s)->text(), u"Send checked"_s);
    }
};

QTEST_MAIN(TestCompareDialog)
#include "tst_compare_dialog.moc"
